// SPDX-License-Identifier: MIT
#pragma once
// Numeric generators: integers over a range, counters, bits and floats.

#include <string>

#include "core/model/col_params.h"

namespace kelvast {

// An integer drawn from MinValue to MaxValue; Sign forces it positive (> 0) or negative (< 0).
class TCPInteger : public TColParams {
 public:
  TCPInteger() { InitExportType(etNum); }
  std::string_view ClassName() const override { return "TCPInteger"; }
  const TPropList& Props() const override;

  int32_t MinValue() const { return FMinValue; }
  void SetMinValue(int32_t v) { SetProp(FMinValue, v); }
  int32_t MaxValue() const { return FMaxValue; }
  void SetMaxValue(int32_t v) { SetProp(FMaxValue, v); }
  // Negative: only negative values; 0: both signs; positive: only positive values.
  int32_t Sign() const { return FSign; }
  void SetSign(int32_t v) { SetProp(FSign, v); }

  void Assign(const TColParams& source) override;
  // The integers of the range as the sign rule writes them.
  TUniqueSpace UniqueSpace() const override;

 protected:
  // MinValue, MaxValue, Sign and ExportType, the properties every subclass stores first.
  static const TPropList& IntegerProps();
  void DoGenerate(TTextBuffer& out) override;
  void AppendUniqueValue(TTextBuffer& out, TUniqueCount index) override;

 private:
  int32_t FMinValue = INT32_MIN;
  int32_t FMaxValue = INT32_MAX;
  int32_t FSign = 0;
};

// A counter: each record adds Step to Current, which Prepare resets to StartValue.
class TCPIncremental : public TCPInteger {
 public:
  TCPIncremental() = default;
  std::string_view ClassName() const override { return "TCPIncremental"; }
  const TPropList& Props() const override;

  int32_t StartValue() const { return FStartValue; }
  void SetStartValue(int32_t v) { SetProp(FStartValue, v); }
  int32_t Step() const { return FStep; }
  void SetStep(int32_t v) { SetProp(FStep, v); }
  int32_t Current() const { return FCurrent; }
  void SetCurrent(int32_t v) { SetProp(FCurrent, v); }

  void Prepare(const TGenContext& context) override;
  void Assign(const TColParams& source) override;
  // Already unique by the record's number: as many records as the values stay in the 32-bit
  // range (one with Step 0).
  TUniqueSpace UniqueSpace() const override;

 protected:
  void DoGenerate(TTextBuffer& out) override;
  void AppendUniqueValue(TTextBuffer& out, TUniqueCount) override { DoGenerate(out); }

 private:
  int32_t FStartValue = 0;
  int32_t FStep = 1;
  int32_t FCurrent = 0;
};

// ZeroValue or OneValue, OneValue 501 times in 1001.
class TCPBit : public TCPInteger {
 public:
  TCPBit() = default;
  std::string_view ClassName() const override { return "TCPBit"; }
  const TPropList& Props() const override;

  const std::string& ZeroValue() const { return FZeroValue; }
  void SetZeroValue(const std::string& v) { SetProp(FZeroValue, v); }
  const std::string& OneValue() const { return FOneValue; }
  void SetOneValue(const std::string& v) { SetProp(FOneValue, v); }

  // "0" or "1", the last draw, whatever texts stand for them; draws nothing.
  std::string_view LastInternalValue() override { return FLastDraw; }
  TUniqueSpace UniqueSpace() const override { return {}; }

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  std::string FZeroValue = "0";
  std::string FOneValue = "1";
  std::string_view FLastDraw;  // "0" or "1"; empty before the first draw
};

// A real of [MinValue, MaxValue], bounds given either way round. With Precision > 0 it is a
// multiple of 10^-Precision, each equally likely, written with at most Precision decimals (all
// of them with FixedDecimals: "24.00"); a value too large for a double to carry its decimals is
// written in plain digits without them. Otherwise it is a uniform real written with up to 15
// significant digits. Values are always written in plain notation, never with an exponent.
// The construction defaults of the bounds stand for the range 0 to 2,147,483,647.
class TCPFloat : public TColParams {
 public:
  static constexpr double kDefaultMin = 4.9406564584124654e-324;
  static constexpr double kDefaultMax = 1.7e308;

  TCPFloat() { InitExportType(etNum); }
  std::string_view ClassName() const override { return "TCPFloat"; }
  const TPropList& Props() const override;

  double MinValue() const { return FMinValue; }
  void SetMinValue(double v) { SetProp(FMinValue, v); }
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double v) { SetProp(FMaxValue, v); }
  int32_t Precision() const { return FPrecision; }
  void SetPrecision(int32_t v) { SetProp(FPrecision, v); }
  // Every value written with Precision decimals, trailing zeros kept (prices).
  bool FixedDecimals() const { return FFixedDecimals; }
  void SetFixedDecimals(bool v) { SetProp(FFixedDecimals, v); }

  // The bounds the draws use: the stored ones in order, or 0 to 2,147,483,647 for the defaults.
  void DrawBounds(double& low, double& high) const;

  void Assign(const TColParams& source) override;

 protected:
  void DoGenerate(TTextBuffer& out) override;

 private:
  // Works out the scaled bounds of the draws (or the error they give) for the current bounds
  // and precision; the draws redo it when one of the three has changed since.
  void PlanDraws();
  // A uniform real of the range written with Precision decimals, or in plain digits when it is
  // too large to carry them.
  void AppendUnscaled(TTextBuffer& out, char separator);

  double FMinValue = kDefaultMin;
  double FMaxValue = kDefaultMax;
  int32_t FPrecision = 2;
  bool FFixedDecimals = false;

  bool FPlanned = false;
  double FPlanMin = 0, FPlanMax = 0;
  int32_t FPlanPrecision = 0;
  double FLow = 0, FHigh = 0;     // the drawn range
  bool FScaled = false;           // whether value * 10^Precision fits a 64-bit integer
  int64_t FFirst = 0, FLast = 0;  // then: the range of value * 10^Precision
  long double FPower = 1;         // 10^Precision, infinite when beyond a long double
  std::string FPlanError;         // why no value can be drawn, or empty
};

}  // namespace kelvast
