#include "ui/Command.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

const QEvent::Type kCommandEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TCommandEvent : public QEvent {
 public:
  explicit TCommandEvent(const std::function<void()>& command) : QEvent(kCommandEvent), command_(command) {}
  void Run() const { command_(); }

 private:
  const std::function<void()>& command_;
};

class TCommandRunner : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() != kCommandEvent) return QObject::event(event);
    static_cast<TCommandEvent*>(event)->Run();
    return true;
  }
};

}  // namespace

void RunCommand(const std::function<void()>& command) {
  static TCommandRunner runner;
  TCommandEvent event(command);
  QCoreApplication::sendEvent(&runner, &event);
}
