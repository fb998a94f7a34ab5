#pragma once
// TFConnect: the ENET connection window, where the history is written into the car.

#include <QWidget>

class TFConnect : public QWidget {
  Q_OBJECT
 public:
  explicit TFConnect(QWidget* owner);
  ~TFConnect() override;

 private:
  void FormCreate();
};

extern TFConnect* FConnect;
