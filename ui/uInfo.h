#pragma once
// TFInfo: the info window with the product's title and version beside an animated logo, the
// "HELP" button that opens the help document and the link to the project's web page.

#include <QUrl>
#include <QWidget>
#include <functional>

class QGroupBox;
class QLabel;
class QPushButton;
class TAnimatedLogo;

// The project's web page, and the link text that stands for it.
inline constexpr const char* kWebAddress = "https://tarvelo.github.io";
inline constexpr const char* kWebAddressText = "TARVELO.GITHUB.IO";

// Asks the desktop to open a document or a web page; false when it could not.
using TOpenWithDesktop = std::function<bool(const QUrl&)>;

class TFInfo : public QWidget {
  Q_OBJECT
 public:
  TFInfo(QWidget* owner, TOpenWithDesktop openWithDesktop);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void btnHELPClick();
  void txtWWWClick();

  TOpenWithDesktop openWithDesktop_;
  QGroupBox* grpMAIN1 = nullptr;
  TAnimatedLogo* imgLOGO1 = nullptr;
  QGroupBox* grp2 = nullptr;
  QLabel* txtCAP1 = nullptr;
  QLabel* txtVer1 = nullptr;
  QLabel* txtWWW = nullptr;
  QPushButton* btnHELP = nullptr;
};
