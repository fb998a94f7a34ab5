#include "uInfo.h"

TFInfo* FInfo = nullptr;

TFInfo::TFInfo(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("TFInfo"));
  setWindowTitle(QStringLiteral(" [i]  Info/About"));
  setFixedSize(527, 194);
}

TFInfo::~TFInfo() {
  if (FInfo == this) FInfo = nullptr;
}
