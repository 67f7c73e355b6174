#include "core/design_record.h"

#include <string>

#include "core/legacy_math.h"

namespace vst {

char UnitLetter(UnitSystem units) { return units == UnitSystem::Metric ? 'C' : 'F'; }

namespace {

using R = DesignRecord;

#define VST_REAL(f) \
  FieldInfo { #f, FieldKind::Real, true, &R::f }
#define VST_INT(f) \
  FieldInfo { #f, FieldKind::Integer, true, &R::f }
#define VST_TEXT(f) \
  FieldInfo { #f, FieldKind::Text, true, &R::f }
#define VST_MEM(f, kind) \
  FieldInfo { #f, kind, false, &R::f }

const std::vector<FieldInfo> kFields = {
    VST_REAL(MAXAMB),
    VST_REAL(MINAMB),
    VST_REAL(MAINTEMP),
    VST_REAL(MAXEXP),
    VST_INT(INSTHK),
    VST_INT(INSTYPE),
    VST_INT(PIPESIZE),
    VST_REAL(PIPELN),
    VST_INT(NUMPASS),
    VST_REAL(STEAMPRS),
    VST_INT(TRACETUB),
    VST_INT(TRACEINS),
    VST_TEXT(CIRTXT),
    VST_TEXT(PIPETXT),
    VST_REAL(VALN),
    VST_REAL(FLNO),
    VST_REAL(NOPX),
    VST_REAL(WCTB),
    VST_INT(UNDER),
    VST_INT(PRESSURE),
    VST_REAL(TBAND),
    VST_REAL(TP2),
    VST_REAL(TP1),
    VST_REAL(LSWO),
    VST_REAL(COND),
    VST_REAL(INSIZE),
    VST_REAL(TLEN),
    VST_REAL(TDX),
    VST_REAL(VTR),
    VST_REAL(SLEN),
    VST_REAL(TST),
    VST_TEXT(CEM),
    VST_REAL(ACEM),
    VST_TEXT(CEM1),
    VST_REAL(ACEM1),
    VST_REAL(ACHAN),
    VST_REAL(ABAND),
    VST_REAL(UNION),
    VST_TEXT(CHAN),
    VST_TEXT(TSIZ),
    VST_TEXT(BAND),
    VST_REAL(CRS),
    VST_REAL(FRST),
    VST_REAL(FAK),
    VST_REAL(MACO),
    VST_REAL(SSFLAG),
    VST_TEXT(COVR),
    VST_INT(TUBEMAT),
    VST_INT(TUBEWALL),
    VST_INT(APPTYPE),
    VST_INT(HeatUpProduct),
    VST_TEXT(HeatUpInitialTemp),
    VST_TEXT(HeatUpFinalTemp),
    VST_TEXT(HeatUpDensity),
    VST_TEXT(HeatUpSpecificHeat),
    FieldInfo{"HeatUpPhaseChange", FieldKind::Flag, true, &R::HeatUpPhaseChange},
    VST_TEXT(HeatUpLatentHeat),
    VST_REAL(HeatUpTime),
    VST_MEM(IntermittentExposure, FieldKind::Real),
    VST_INT(AllowanceIncluded),
    VST_REAL(ShoeAllowance),
    VST_MEM(ReportPipeSize, FieldKind::Real),
};

// Added after the record listings of the line-list command took their
// columns from the list above, so those listings stay as they were.
const std::vector<FieldInfo> kLaterFileFields = {
    VST_TEXT(HeatUpPhaseChangeTemp),
};

#undef VST_REAL
#undef VST_INT
#undef VST_TEXT
#undef VST_MEM

}  // namespace

const std::vector<FieldInfo>& RecordFields() { return kFields; }

const std::vector<FieldInfo>& LaterFileFields() { return kLaterFileFields; }

const FieldInfo* FindRecordField(std::string_view name) {
  for (const auto& f : kFields) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

double FieldNumber(const DesignRecord& record, const FieldInfo& field) {
  return std::visit(
      [&](auto member) -> double {
        const auto& v = record.*member;
        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
          return 0.0;
        } else {
          return static_cast<double>(v);
        }
      },
      field.member);
}

std::string FieldText(const DesignRecord& record, const FieldInfo& field) {
  return std::visit(
      [&](auto member) -> std::string {
        const auto& v = record.*member;
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return v;
        } else if constexpr (std::is_same_v<T, float>) {
          return ShortestText(v);
        } else if constexpr (std::is_same_v<T, bool>) {
          return v ? "1" : "0";
        } else {
          return std::to_string(v);
        }
      },
      field.member);
}

RecordIndexError::RecordIndexError(int index)
    : std::out_of_range("design record index " + std::to_string(index) + " is outside 0..9") {}

DesignRecord& DesignSet::at(int index) {
  if (!ValidIndex(index)) throw RecordIndexError(index);
  return records[static_cast<std::size_t>(index)];
}

const DesignRecord& DesignSet::at(int index) const {
  if (!ValidIndex(index)) throw RecordIndexError(index);
  return records[static_cast<std::size_t>(index)];
}

}  // namespace vst
