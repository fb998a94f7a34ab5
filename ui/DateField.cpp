#include "ui/DateField.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>

namespace {

// Where the sections of "dd.MM.yyyy" stand in the text.
struct TSection {
  int start, length;
};
constexpr TSection kDay{0, 2};
constexpr TSection kMonth{3, 2};
constexpr TSection kYear{6, 4};

TSection SectionAt(int position) {
  if (position <= kDay.start + kDay.length) return kDay;
  if (position <= kMonth.start + kMonth.length) return kMonth;
  return kYear;
}

}  // namespace

TDateField::TDateField(QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("dateText"));
  // Digits only, in their places; the full stops stay where they are.
  edit_->setInputMask(QStringLiteral("99.99.9999;_"));
  edit_->installEventFilter(this);
  button_ = new QToolButton(this);
  button_->setObjectName(QStringLiteral("dateCalendar"));
  button_->setArrowType(Qt::DownArrow);
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setToolTip(QCoreApplication::translate("TFEditor", "Pick the date from a calendar"));
  row->addWidget(edit_, 1);
  row->addWidget(button_);
  setFocusProxy(edit_);
  connect(edit_, &QLineEdit::textChanged, this, &TDateField::ShowValidity);
  connect(button_, &QToolButton::clicked, this, &TDateField::OpenCalendar);
}

std::optional<QDate> TDateField::Date() const {
  const QDate date = QDate::fromString(edit_->text(), QString::fromLatin1(kFormat));
  if (!date.isValid() || date < first_ || date > last_) return std::nullopt;
  return date;
}

void TDateField::SetDate(const QDate& date) { edit_->setText(date.toString(QString::fromLatin1(kFormat))); }

QString TDateField::Text() const { return edit_->text(); }

void TDateField::SetRange(const QDate& first, const QDate& last) {
  first_ = first;
  last_ = last;
  ShowValidity();
}

void TDateField::SelectSectionAt(int position) {
  const TSection section = SectionAt(position);
  edit_->setSelection(section.start, section.length);
}

bool TDateField::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_) {
    // After the text has placed its cursor (on the release), the section there is taken; a
    // double-click still selects as the text does.
    if (event->type() == QEvent::MouseButtonRelease && !edit_->hasSelectedText()) {
      SelectSectionAt(edit_->cursorPosition());
    } else if (event->type() == QEvent::FocusIn) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
        // Selected after the text's own focus handling, which would select everything.
        QMetaObject::invokeMethod(this, [this] { SelectSectionAt(kDay.start); }, Qt::QueuedConnection);
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TDateField::ShowValidity() {
  const bool invalid = !Date().has_value();
  if (edit_->property("invalid").toBool() == invalid) return;
  edit_->setProperty("invalid", invalid);
  // The style sheet shows an invalid date in red.
  edit_->style()->unpolish(edit_);
  edit_->style()->polish(edit_);
}

void TDateField::OpenCalendar() {
  if (!calendar_) {
    calendar_ = new QCalendarWidget(this);
    calendar_->setObjectName(QStringLiteral("dateCalendarPopup"));
    calendar_->setWindowFlags(Qt::Popup);
    calendar_->setGridVisible(true);
    connect(calendar_, &QCalendarWidget::clicked, this, [this](const QDate& date) {
      SetDate(date);
      calendar_->hide();
      edit_->setFocus();
    });
  }
  calendar_->setDateRange(first_, last_);
  calendar_->setSelectedDate(Date().value_or(QDate::currentDate()));
  calendar_->move(mapToGlobal(QPoint(0, height())));
  calendar_->show();
}
