#include "ui/AppWindows.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTimer>
#include <iostream>

#include "enet/SocketPlatform.h"
#include "ui/CallersConsole.h"
#include "ui/Command.h"
#include "ui/DesktopOpener.h"
#include "ui/Language.h"
#include "ui/StartArguments.h"
#include "ui/TarveloApplication.h"
#include "ui/WindowPlacement.h"
#include "ui/uEditor.h"
#include "ui/uInfo.h"
#include "ui/uMain.h"

TAppWindows::TAppWindows(TAppOptions options) {
  main_ = new TFMain(history_);
  editor_ = new TFEditor(main_);
  connect_ = new TFConnect(main_, history_, std::move(options.connect));
  TOpenWithDesktop open = options.openWithDesktop;
  if (!open) open = OpenWithDesktop;
  info_ = new TFInfo(main_, std::move(open));

  QObject::connect(main_, &TFMain::AddRequested, editor_, [this] { editor_->EditNew(); });
  QObject::connect(main_, &TFMain::EditRequested, editor_, [this](const QPersistentModelIndex& entry) {
    editor_->EditEntry(entry, history_.Entry(entry.row()));
  });
  QObject::connect(main_, &TFMain::WriteToCarRequested, connect_, [this] { ShowModeless(connect_); });
  QObject::connect(main_, &TFMain::InfoRequested, info_, [this] { ShowModeless(info_); });
  QObject::connect(editor_, &TFEditor::EntryAdded, main_,
                   [this](const TServiceFields& fields) { main_->elementADD(BuildServiceRecord(fields)); });
  QObject::connect(editor_, &TFEditor::EntryEdited, main_, [this](const QPersistentModelIndex& entry, const TServiceFields& fields) {
    main_->elementEDT(entry, BuildServiceRecord(fields));
  });
  main_->SetQuitGuard([this] { return MayQuit(); });
  QObject::connect(connect_, &TFConnect::GatewayFound, main_, [this](const QString& vin) { main_->SetVehicleVin(vin); });

  // The editor and the ENET window open beside the main window's entries list, not over it and
  // not over each other.
  placer_ = new TWindowPlacer(*main_, [this] { return main_->EntriesListFrame(); }, main_);
  placer_->Watch(*editor_);
  placer_->Watch(*connect_);
}

TAppWindows::~TAppWindows() { delete main_; }

bool TAppWindows::MayQuit() {
  // A write to the car is not cut off without asking; when the user says so, it stops before its
  // next request and the program ends as soon as it has returned.
  if (!connect_->Writing()) return true;
  if (!AskYesNo(QCoreApplication::translate("TFMain", "A write to the car is running. Stop it and quit?"))) return false;
  connect_->StopWrite();
  return true;
}

void TAppWindows::Start(const QString& file) {
  main_->show();
  if (file.isEmpty()) return;
  // From the message loop, so that the window is on the screen before a message box goes over it.
  QTimer::singleShot(0, main_, [this, file] { RunCommand([this, file] { main_->OpenFile(file); }); });
}

int RunTarvelo(int argc, char** argv) {
  StartSocketLibrary();
  int result = 0;
  {
    TTarveloApplication app(argc, argv);
    // The application has taken its own options (-platform, -style, ...) out of the command line.
    const TStartArguments start = ParseStartArguments(app.arguments().mid(1));
    if (!start.error.isEmpty()) {
      UseTheCallersConsole();
      std::cerr << "tarvelo: " << start.error.toLocal8Bit().constData() << "\nTry tarvelo --help.\n";
      result = 2;
    } else {
      InstallTranslations(app, ChooseLanguage(start.language, LanguageFromEnvironment(), QLocale::system()));
      TAppWindows windows;
      windows.Start(start.file);
      result = app.exec();
    }
  }
  StopSocketLibrary();
  return result;
}
