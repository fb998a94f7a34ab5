#pragma once
// TFInfo: the info window with the product's title, version, help and web address.

#include <QWidget>

class TFInfo : public QWidget {
  Q_OBJECT
 public:
  explicit TFInfo(QWidget* owner);
  ~TFInfo() override;
};

extern TFInfo* FInfo;
