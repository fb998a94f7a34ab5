#include "Connect.h"

#include "uENET.h"

TFConnect* FConnect = nullptr;

TFConnect::TFConnect(QWidget* owner) : QWidget(owner, Qt::Tool) {
  setObjectName(QStringLiteral("TFConnect"));
  setWindowTitle(QStringLiteral("ENET Connection"));
  setFixedSize(337, 400);
  FormCreate();
}

TFConnect::~TFConnect() {
  if (FConnect == this) FConnect = nullptr;
}

void TFConnect::FormCreate() {
  EnetCreate();
  EnetInit();
}
