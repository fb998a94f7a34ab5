#include "AppWindows.h"

#include "Connect.h"
#include "SocketPlatform.h"
#include "TarveloApplication.h"
#include "VisualStyle.h"
#include "uEditor.h"
#include "uInfo.h"
#include "uMain.h"

void CreateWindows() {
  FMain = new TFMain();
  FEditor = new TFEditor(FMain);
  FConnect = new TFConnect(FMain);
  FInfo = new TFInfo(FMain);
}

void DestroyWindows() { delete FMain; }

int RunTarvelo(int argc, char** argv) {
  StartSocketLibrary();
  int result = 0;
  {
    TTarveloApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tarvelo"));
    ApplyVisualStyle(app);
    CreateWindows();
    FMain->show();
    result = app.exec();
    DestroyWindows();
  }
  StopSocketLibrary();
  return result;
}
