// SPDX-License-Identifier: MIT
#pragma once
// Temporal generators: dates, times and date-times between two bounds, written with a
// date-time pattern.

#include <cstdint>
#include <string>
#include <vector>

#include "core/model/col_params.h"
#include "core/platform/packed_texts.h"
#include "core/platform/date_time.h"

namespace kelvast {

// A whole day from MinDate to MaxDate, both included.
class TCPDate : public TColParams {
 public:
  TCPDate() = default;
  std::string_view ClassName() const override { return "TCPDate"; }
  const TPropList& Props() const override;

  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime v) { SetProp(FMinDate, v); }
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime v) { SetProp(FMaxDate, v); }
  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& v) { SetProp(FFormat, v); }

  // Also forgets the formatted days, so a run follows the current locale settings.
  void Prepare(const TGenContext& context) override;
  void Assign(const TColParams& source) override;
  // The days of the range.
  TUniqueSpace UniqueSpace() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;
  void AppendUniqueValue(TTextBuffer& out, TUniqueCount index) override;

 private:
  // Appends the text of a whole day.
  void AppendDay(TTextBuffer& out, double day);

  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  std::string FFormat = "mm/dd/yyyy";
  // Each day's text, formatted the first time it is drawn: the bounds and format it was built
  // for, the day of index 0, and the texts (empty: not formatted yet).
  struct TDayCache {
    TDateTime Min = 0, Max = 0;
    std::string Format;
    int64_t Base = 0;
    TPackedTexts Days;
    bool Valid = false;
  } FDays;
};

// A time of day from MinTime up to, not including, MaxTime.
class TCPTime : public TColParams {
 public:
  TCPTime() = default;
  std::string_view ClassName() const override { return "TCPTime"; }
  const TPropList& Props() const override;

  TDateTime MinTime() const { return FMinTime; }
  void SetMinTime(TDateTime v) { SetProp(FMinTime, v); }
  TDateTime MaxTime() const { return FMaxTime; }
  void SetMaxTime(TDateTime v) { SetProp(FMaxTime, v); }
  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& v) { SetProp(FFormat, v); }

  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  TDateTime FMinTime = 0;
  TDateTime FMaxTime = 0;
  std::string FFormat = "hh:nn:ss";
};

// A day drawn as TCPDate draws it plus a time drawn as TCPTime draws it.
class TCPDateTime : public TColParams {
 public:
  TCPDateTime() = default;
  std::string_view ClassName() const override { return "TCPDateTime"; }
  const TPropList& Props() const override;

  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime v) { SetProp(FMinDate, v); }
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime v) { SetProp(FMaxDate, v); }
  TDateTime MinTime() const { return FMinTime; }
  void SetMinTime(TDateTime v) { SetProp(FMinTime, v); }
  TDateTime MaxTime() const { return FMaxTime; }
  void SetMaxTime(TDateTime v) { SetProp(FMaxTime, v); }
  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& v) { SetProp(FFormat, v); }

  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  TDateTime FMinTime = 0;
  TDateTime FMaxTime = 0;
  std::string FFormat = "mm/dd/yyyy hh:nn:ss";
};

}  // namespace kelvast
