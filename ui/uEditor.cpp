#include "uEditor.h"

TFEditor* FEditor = nullptr;

TFEditor::TFEditor(QWidget* owner) : QWidget(owner, Qt::Tool) {
  setObjectName(QStringLiteral("TFEditor"));
  setWindowTitle(QStringLiteral("Service Entry Editor"));
  resize(465, 470);
}

TFEditor::~TFEditor() {
  if (FEditor == this) FEditor = nullptr;
}
