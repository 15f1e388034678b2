// SPDX-License-Identifier: MIT
// Pages of the temporal generators: date, time and date-time.

#include "core/generators/temporal_gens.h"
#include "ui/param_pages/page_kit.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QTime>

namespace kelvast::ui {

namespace {

const QDate kFirstDate(1, 1, 1);
const QDate kLastDate(9999, 12, 31);

// A date outside the years 1 to 9999 is shown clamped to the nearer end.
QDate ToQDate(TDateTime dt) {
  int year = 0, month = 0, day = 0;
  DecodeDate(dt, year, month, day);
  if (year == 0) return dt > 0 ? kLastDate : kFirstDate;
  return QDate(year, month, day);
}

TDateTime FromQDate(QDate date) {
  TDateTime out = 0;
  TryEncodeDate(date.year(), date.month(), date.day(), out);
  return out;
}

// "hh:nn:ss", hours 00 to 23.
QString FormatTime(TDateTime dt) {
  int hour = 0, minute = 0, second = 0, ms = 0;
  DecodeTime(dt, hour, minute, second, ms);
  return QString::asprintf("%02d:%02d:%02d", hour, minute, second);
}

// Text that is not a valid time of day (a field still being typed, an hour above 23) reads as
// the current time of day.
TDateTime ParseTime(const QString& text) {
  QTime time = QTime::fromString(text, QStringLiteral("hh:mm:ss"));
  if (!time.isValid()) time = QTime::currentTime();
  TDateTime out = 0;
  TryEncodeTime(time.hour(), time.minute(), time.second(), time.msec(), out);
  return out;
}

// Date fields, time fields and format fields shared by the three pages.
class TTemporalPage : public TParamPage {
 public:
  using TParamPage::TParamPage;

 protected:
  QDateEdit* NewDateEdit(const QString& name) {
    auto* edit = new QDateEdit(this);
    edit->setObjectName(name);
    edit->setCalendarPopup(true);
    edit->setDateRange(kFirstDate, kLastDate);
    // Dates reach back to 1899 and earlier, so the year is always shown with four digits.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) format.replace(QStringLiteral("yy"), "yyyy");
    edit->setDisplayFormat(format);
    return edit;
  }

  template <class T>
  void ConnectDate(QDateEdit* edit, void (T::*setter)(TDateTime)) {
    // deDateMiniChange, deDateMaxiChange, deDTMiniChange, deDTMaxiChange
    connect(edit, &QDateEdit::dateChanged, this, [this, setter](QDate date) {
      if (auto* p = Target<T>()) (p->*setter)(FromQDate(date));
    });
  }

  template <class T>
  void ConnectTime(QLineEdit* edit, void (T::*setter)(TDateTime)) {
    // meTimeMiniChange, meTimeMaxiChange, meDTminiChange, meDTMaxiChange
    connect(edit, &QLineEdit::textChanged, this, [this, setter](const QString& text) {
      if (auto* p = Target<T>()) (p->*setter)(ParseTime(text));
    });
  }

  template <class T>
  void ConnectFormat(QLineEdit* edit) {
    // eDateFmtChange, eTimeFmtChange, eDTFmtChange
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
      if (auto* p = Target<T>()) p->SetFormat(ToAnsi(text));
    });
  }
};

class TDatePage : public TTemporalPage {
 public:
  explicit TDatePage(TPageContext& ctx)
      : TTemporalPage(ctx, QStringLiteral("Date"), QStringLiteral("Date generator")) {
    deDateMini = NewDateEdit(QStringLiteral("deDateMini"));
    deDateMaxi = NewDateEdit(QStringLiteral("deDateMaxi"));
    eDateFmt = NewEdit(QStringLiteral("eDateFmt"));
    AddRow(QStringLiteral("Minimum date"), deDateMini);
    AddRow(QStringLiteral("Maximum date"), deDateMaxi);
    AddRow(QStringLiteral("Format"), eDateFmt);
    ConnectDate(deDateMini, &TCPDate::SetMinDate);
    ConnectDate(deDateMaxi, &TCPDate::SetMaxDate);
    ConnectFormat<TCPDate>(eDateFmt);
    AddUniqueRow();
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPDate*>(&param);
    if (!p) return;
    deDateMini->setDate(ToQDate(p->MinDate()));
    deDateMaxi->setDate(ToQDate(p->MaxDate()));
    eDateFmt->setText(FromAnsi(p->Format()));
  }

 private:
  QDateEdit* deDateMini;
  QDateEdit* deDateMaxi;
  QLineEdit* eDateFmt;
};

class TTimePage : public TTemporalPage {
 public:
  explicit TTimePage(TPageContext& ctx)
      : TTemporalPage(ctx, QStringLiteral("Time"), QStringLiteral("Time generator")) {
    meTimeMini = NewTimeEdit(QStringLiteral("meTimeMini"));
    meTimeMaxi = NewTimeEdit(QStringLiteral("meTimeMaxi"));
    eTimeFmt = NewEdit(QStringLiteral("eTimeFmt"));
    AddRow(QStringLiteral("Minimum time"), meTimeMini);
    AddRow(QStringLiteral("Maximum time"), meTimeMaxi);
    AddRow(QStringLiteral("Format"), eTimeFmt);
    ConnectTime(meTimeMini, &TCPTime::SetMinTime);
    ConnectTime(meTimeMaxi, &TCPTime::SetMaxTime);
    ConnectFormat<TCPTime>(eTimeFmt);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPTime*>(&param);
    if (!p) return;
    meTimeMini->setText(FormatTime(p->MinTime()));
    meTimeMaxi->setText(FormatTime(p->MaxTime()));
    eTimeFmt->setText(FromAnsi(p->Format()));
  }

 private:
  QLineEdit* meTimeMini;
  QLineEdit* meTimeMaxi;
  QLineEdit* eTimeFmt;
};

class TDateTimePage : public TTemporalPage {
 public:
  explicit TDateTimePage(TPageContext& ctx)
      : TTemporalPage(ctx, QStringLiteral("DateTime"), QStringLiteral("Date Time generator")) {
    deDTMini = NewDateEdit(QStringLiteral("deDTMini"));
    deDTMaxi = NewDateEdit(QStringLiteral("deDTMaxi"));
    meDTmini = NewTimeEdit(QStringLiteral("meDTmini"));
    meDTMaxi = NewTimeEdit(QStringLiteral("meDTMaxi"));
    eDTFmt = NewEdit(QStringLiteral("eDTFmt"));
    AddRow(QStringLiteral("Minimum date"), deDTMini);
    AddRow(QStringLiteral("Maximum date"), deDTMaxi);
    AddRow(QStringLiteral("Minimum time"), meDTmini);
    AddRow(QStringLiteral("Maximum time"), meDTMaxi);
    AddRow(QStringLiteral("Format"), eDTFmt);
    ConnectDate(deDTMini, &TCPDateTime::SetMinDate);
    ConnectDate(deDTMaxi, &TCPDateTime::SetMaxDate);
    ConnectTime(meDTmini, &TCPDateTime::SetMinTime);
    ConnectTime(meDTMaxi, &TCPDateTime::SetMaxTime);
    ConnectFormat<TCPDateTime>(eDTFmt);
  }

  void Load(TColParams& param) override {
    auto* p = dynamic_cast<TCPDateTime*>(&param);
    if (!p) return;
    deDTMini->setDate(ToQDate(p->MinDate()));
    deDTMaxi->setDate(ToQDate(p->MaxDate()));
    meDTmini->setText(FormatTime(p->MinTime()));
    meDTMaxi->setText(FormatTime(p->MaxTime()));
    eDTFmt->setText(FromAnsi(p->Format()));
  }

 private:
  QDateEdit* deDTMini;
  QDateEdit* deDTMaxi;
  QLineEdit* meDTmini;
  QLineEdit* meDTMaxi;
  QLineEdit* eDTFmt;
};

}  // namespace

TParamPage* NewDatePage(TPageContext& ctx) { return new TDatePage(ctx); }
TParamPage* NewTimePage(TPageContext& ctx) { return new TTimePage(ctx); }
TParamPage* NewDateTimePage(TPageContext& ctx) { return new TDateTimePage(ctx); }

}  // namespace kelvast::ui
