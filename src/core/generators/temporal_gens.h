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

// A whole day from MinDate to MaxDate, both included, bounds given either way round.
class TCPDate : public TColParams {
 public:
  TCPDate() = default;
  std::string_view ClassName() const override { return "TCPDate"; }
  const TPropList& Props() const override;
  // 2000-01-01 to 2029-12-31: a range to start from, where the stored default is one day.
  void InitNew() override;

  TDateTime MinDate() const { return FMinDate; }
  void SetMinDate(TDateTime v) { SetProp(FMinDate, v); }
  TDateTime MaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime v) { SetProp(FMaxDate, v); }
  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& v) { SetProp(FFormat, v); }

  // Also forgets the formatted days, so a run follows the current locale settings.
  void Prepare(const TGenContext& context) override;
  void Assign(const TColParams& source) override;
  // The distinct texts the format writes for the days of the range: fewer than the days when
  // the format shows less than the day ("mm/dd", "mmm yyyy", "dddd").
  TUniqueSpace UniqueSpace() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;
  void AppendUniqueValue(TTextBuffer& out, TUniqueCount index) override;

 private:
  // Appends the text of a whole day.
  void AppendDay(TTextBuffer& out, double day);

  // The range's days that write distinct texts: the first day of each text, in order, for the
  // bounds and format they were found for.
  struct TDistinctDays {
    TDateTime Min = 0, Max = 0;
    std::string Format;
    bool Valid = false;
    int64_t First = 0;     // the range's first day
    TUniqueCount Count = 0;
    std::vector<int32_t> Offsets;  // from First; empty when every day writes a text of its own
  };
  const TDistinctDays& DistinctDays() const;
  // The offsets from `first` of the days from first to last whose text no earlier day writes.
  std::vector<int32_t> FirstDaysOfTexts(int64_t first, int64_t last) const;

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
  mutable TDistinctDays FDistinct;
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

// A day drawn as TCPDate draws it at a time drawn as TCPTime draws it.
class TCPDateTime : public TColParams {
 public:
  TCPDateTime() = default;
  std::string_view ClassName() const override { return "TCPDateTime"; }
  const TPropList& Props() const override;
  // Days 2000-01-01 to 2029-12-31, as a new TCPDate.
  void InitNew() override;

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
