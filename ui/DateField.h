#pragma once
// TDateField: a date typed or picked, shown as "dd.MM.yyyy".
//
// A click into the text takes the section under the pointer (day, month or year) into the
// selection, so that digits typed next replace it, as in any date field; Tab into the field takes
// the day. The button beside the text opens a calendar. A text that is no date of the calendar
// (31.02.2020), or one outside the field's range, stays exactly as typed and shows as invalid:
// Date() is then empty, so whoever reads the field can refuse it instead of storing another date.

#include <QDate>
#include <QWidget>
#include <optional>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

class TDateField : public QWidget {
  Q_OBJECT
 public:
  explicit TDateField(QWidget* parent = nullptr);

  // The date the text stands for, or nullopt when it stands for none in the range.
  std::optional<QDate> Date() const;
  void SetDate(const QDate& date);
  QString Text() const;  // as shown, "15.12.2019"

  void SetRange(const QDate& first, const QDate& last);
  QDate Minimum() const { return first_; }
  QDate Maximum() const { return last_; }

  static constexpr const char* kFormat = "dd.MM.yyyy";

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SelectSectionAt(int position);
  void ShowValidity();
  void OpenCalendar();

  QLineEdit* edit_ = nullptr;
  QToolButton* button_ = nullptr;
  QCalendarWidget* calendar_ = nullptr;
  QDate first_{1, 1, 1};
  QDate last_{9999, 12, 31};
};
