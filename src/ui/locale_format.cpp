// SPDX-License-Identifier: MIT
#include "ui/locale_format.h"

#include "ui/ansi_text.h"

namespace kelvast::ui {

namespace {

// A single character in Windows-1252; the fallback when the code page cannot hold it (the
// narrow no-break space some locales group digits with, for one).
char AnsiChar(const QString& text, char fallback) {
  if (text.size() != 1) return fallback;
  const std::string ansi = ToAnsi(text);
  return ansi.size() == 1 && ansi[0] != '?' ? ansi[0] : fallback;
}

// The first character of a format that is neither a letter nor quoted.
QChar FirstSeparator(const QString& format, QChar fallback) {
  bool quoted = false;
  for (const QChar c : format) {
    if (c == u'\'')
      quoted = !quoted;
    else if (!quoted && !c.isLetter() && !c.isSpace())
      return c;
  }
  return fallback;
}

bool IsPatternLetter(QChar c) { return QStringLiteral("dmyhnsztacpDMYHNSZTACP").contains(c); }

}  // namespace

std::string CorePattern(const QString& qtFormat) {
  QString out;
  const qsizetype n = qtFormat.size();
  for (qsizetype i = 0; i < n;) {
    const QChar c = qtFormat[i];
    if (c == u'\'') {
      // Quoted text; '' inside or outside quotes is one apostrophe.
      QString literal;
      ++i;
      while (i < n) {
        if (qtFormat[i] == u'\'') {
          if (i + 1 < n && qtFormat[i + 1] == u'\'') {
            literal += u'\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal += qtFormat[i++];
      }
      out += literal.isEmpty() ? QStringLiteral("'") : u'"' + literal + u'"';
      continue;
    }
    qsizetype run = 1;
    while (i + run < n && qtFormat[i + run] == c)
      ++run;
    i += run;
    switch (c.unicode()) {
      case u'd':
        out += QString(qMin<qsizetype>(run, 4), u'd');
        break;
      case u'M':
        out += QString(qMin<qsizetype>(run, 4), u'm');
        break;
      case u'y':
        out += run >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy");
        break;
      case u'h':
      case u'H':
        out += run >= 2 ? QStringLiteral("hh") : QStringLiteral("h");
        break;
      case u'm':
        out += run >= 2 ? QStringLiteral("nn") : QStringLiteral("n");
        break;
      case u's':
        out += run >= 2 ? QStringLiteral("ss") : QStringLiteral("s");
        break;
      case u'z':
        out += run >= 2 ? QStringLiteral("zzz") : QStringLiteral("z");
        break;
      case u'A':
      case u'a':
        // "AP" / "ap" (and a lone "A" / "a") is the morning/afternoon designator.
        if (i < n && (qtFormat[i] == u'P' || qtFormat[i] == u'p')) ++i;
        out += QStringLiteral("ampm");
        break;
      case u't':
        // The time zone has no counterpart; drop it with the blank before it.
        if (out.endsWith(u' ')) out.chop(1);
        break;
      default:
        for (qsizetype k = 0; k < run; ++k)
          out += IsPatternLetter(c) ? u'"' + QString(c) + u'"' : QString(c);
    }
  }
  return ToAnsi(out.trimmed());
}

TFormatSettings FormatSettingsOf(const QLocale& locale) {
  TFormatSettings fs;
  fs.DecimalSeparator = AnsiChar(locale.decimalPoint(), '.');
  fs.ThousandSeparator = AnsiChar(locale.groupSeparator(), ' ');
  const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
  const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
  fs.DateSeparator = AnsiChar(FirstSeparator(shortDate, u'/'), '/');
  fs.TimeSeparator = AnsiChar(FirstSeparator(shortTime, u':'), ':');
  fs.ShortDateFormat = CorePattern(shortDate);
  fs.LongDateFormat = CorePattern(locale.dateFormat(QLocale::LongFormat));
  fs.ShortTimeFormat = CorePattern(shortTime);
  fs.LongTimeFormat = CorePattern(locale.timeFormat(QLocale::LongFormat));
  fs.TimeAMString = ToAnsi(locale.amText());
  fs.TimePMString = ToAnsi(locale.pmText());
  for (int m = 0; m < 12; ++m) {
    fs.ShortMonthNames[m] = ToAnsi(locale.monthName(m + 1, QLocale::ShortFormat));
    fs.LongMonthNames[m] = ToAnsi(locale.monthName(m + 1, QLocale::LongFormat));
  }
  // Qt counts days from Monday = 1 to Sunday = 7; the core from Sunday.
  for (int d = 0; d < 7; ++d) {
    const int qtDay = d == 0 ? 7 : d;
    fs.ShortDayNames[d] = ToAnsi(locale.dayName(qtDay, QLocale::ShortFormat));
    fs.LongDayNames[d] = ToAnsi(locale.dayName(qtDay, QLocale::LongFormat));
  }
  return fs;
}

}  // namespace kelvast::ui
