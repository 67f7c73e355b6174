#include "docs/app_panels.h"

namespace vst {

namespace {

constexpr const char* kRegistered = "\u00AE";

std::vector<PanelLine> Lines(std::initializer_list<std::string_view> marked) {
  std::vector<PanelLine> lines;
  for (std::string_view m : marked) lines.push_back(ParseMarkedLine(m));
  return lines;
}

// Shared by the Trough Line and the Fillet Trace submenus.
std::vector<PanelLine> ConductionLines() {
  return Lines({
      "Conduction tracing bonds the tracer to the pipe with a heat transfer material, so heat",
      "flows into the pipe wall through the material instead of across the air space under the",
      "insulation.",
      "",
      "Heat transfer materials are advised where the maintenance temperature is above",
      "200 \u00B0F (93 \u00B0C), on pipes of 6 in. (150 mm) and larger, where rapid heat-up is",
      "needed, and where a heating medium other than steam is used.",
      "",
      "Each conduction tracer carries several times the heat of a bare tracer, so fewer tracers",
      "are needed on the same pipe and the pipe can be held within a tight control band.",
      "",
      "Trough Line installations use *Clipstrip* or *K-30* / *K-90* in an *MCX* channel;",
      "Fillet Trace installations use *E-55*, *E-50* or *E-72* fillets.",
  });
}

std::vector<AppPanel> BuildPanels() {
  std::vector<AppPanel> p;
  p.push_back({"cond1", "channel", "Conduction Heat Transfer Applications", "CHANNEL.BMP",
               "Conduction Heat Transfer Applications", ConductionLines(), false});
  p.push_back({"clipstrip", "channel", "Clipstrip", "CHANNEL.BMP",
               std::string("Clipstrip") + kRegistered + " Heat Transfer Strip",
               Lines({
                   "*Clipstrip* heat transfer strip is an extruded heat transfer compound that snaps",
                   "over the tracer tube and holds it in full contact with the pipe.",
                   "",
                   "The strip is covered with an *MCX* channel and banded to the pipe, so the",
                   "installation needs no troweling and no curing time.",
                   "",
                   "*Clipstrip* is rated for temperatures up to 406 \u00B0F (207 \u00B0C).",
                   "",
                   "It is not water soluble: rain or wash-down water on the uninsulated installation",
                   "does not wash the compound away.",
               }),
               false});
  p.push_back({"K30", "channel", "K-30 or K-90", "CHANNEL.BMP", "Type K-30 or K-90 Heat Transfer Compound",
               Lines({
                   "*K-30* and *K-90* are heat transfer compounds applied by trowel. On straight",
                   "pipe they fill an *MCX* channel laid over the tracer; on valves, pumps and other",
                   "irregular equipment they are formed by hand over the tracer where no channel fits.",
                   "",
                   "*K-90* is rated to 1250 \u00B0F (677 \u00B0C) and *K-30* to 700 \u00B0F (371 \u00B0C).",
                   "",
                   "The compound is cured by running condensate at 160 to 212 \u00B0F (71 to 100 \u00B0C)",
                   "through the tracer before full steam pressure is applied.",
                   "",
                   "Both compounds are water soluble: keep the installation dry until it is cured",
                   "and covered by the insulation and its weather jacket.",
               }),
               false});
  p.push_back({"cond2", "Cement", "Conduction Heat Transfer Applications", "FILLET.BMP",
               "Conduction Heat Transfer Applications", ConductionLines(), false});
  p.push_back({"E55", "Cement", "E-55 or E-50", "FILLET.BMP", "Type E-55 or E-50 Heat Transfer Compound",
               Lines({
                   "*E-55* and *E-50* are graphite epoxy compounds laid as a fillet between the",
                   "tracer tube and the pipe. A fillet needs no channel, which suits pipes under",
                   "1.5 in. (38 mm) and crowded runs.",
                   "",
                   "*E-55* is rated to 375 \u00B0F (190 \u00B0C) and *E-50* to 325 \u00B0F (163 \u00B0C).",
                   "",
                   "*E-55* can be installed at ambient temperatures down to 32 \u00B0F (0 \u00B0C) and",
                   "*E-50* down to 0 \u00B0F (-18 \u00B0C); in colder weather the compound is applied",
                   "with a heated cartridge gun.",
               }),
               false});
  p.push_back({"E72", "Cement", "E-72", "FILLET.BMP", "Type E-72 Heat Transfer Compound",
               Lines({
                   "*E-72* is a two-part epoxy heat transfer compound laid as a fillet between the",
                   "tracer tube and the pipe.",
                   "",
                   "Once its two parts are mixed and applied, the fillet hardens in about 4 hours,",
                   "and the tracer can then be put into service.",
                   "",
                   "*E-72* is rated to 275 \u00B0F (135 \u00B0C) and can be installed at ambient",
                   "temperatures down to 32 \u00B0F (0 \u00B0C).",
               }),
               false});
  p.push_back({"convec", "coverlyn", "YJ-0 (Bare) Steam Tracer", "COVER.BMP",
               "Convection Heat Transfer Applications",
               Lines({
                   "Convection tracing passes heat from the tracer to the pipe through the air space",
                   "enclosed by the insulation, with no heat transfer compound between them.",
                   "",
                   "It suits maintenance temperatures below 200 \u00B0F (93 \u00B0C) and pipes of",
                   "4 in. (100 mm) and smaller, where the heat of one or two tracers is enough.",
                   "",
                   "Jacketed *Coverlyn* tracers keep the tube off the pipe wall and deliver a",
                   "predictable, moderate heat input for temperature-sensitive products.",
               }),
               false});
  p.push_back({"YJ1", "coverlyn", "YJ-1 Steam Tracer", "YJ12.BMP", "Type Coverlyn(TM)  YJ-1 Tracer Tube",
               Lines({
                   "*Coverlyn* *YJ-1* is a 3/8 in. (10 mm) tracer tube covered with a fiberglass",
                   "isolation layer and a yellow elastomeric jacket.",
                   "",
                   "The isolation layer limits the heat passed to the pipe, so products are kept",
                   "warm without being overheated.",
                   "",
                   "The tracer is laid along the pipe and taped to it on 12 in. (300 mm) centres;",
                   "no compound, channel or spacers are needed.",
                   "",
                   "It comes in long coils, so circuits run with few field joints, in copper or",
                   "stainless steel tube.",
               }),
               false});
  p.push_back({"YJ2", "coverlyn", "YJ-2 Steam Tracer", "YJ12.BMP", "Type Coverlyn(TM)  YJ-2 Tracer Tube",
               Lines({
                   "*Coverlyn* *YJ-2* is a 3/8 in. (10 mm) tracer tube covered with a fiberglass",
                   "isolation layer and a yellow elastomeric jacket.",
                   "",
                   "The jacket keeps the outer surface cool enough to touch, which eliminates the",
                   "risk of burns where tracer runs are within reach of personnel.",
                   "",
                   "Long coils run in one piece from the steam supply manifold to the condensate",
                   "return manifold, in copper or stainless steel tube.",
               }),
               false});
  p.push_back({"YJ0", "coverlyn", "YJ-0 Steam Tracer", "COVER.BMP", "Type Coverlyn(TM)  YJ-0 Tracer Tube",
               Lines({
                   "*Coverlyn* *YJ-0* is a 3/8 in. or 1/2 in. (10 or 12 mm) tracer tube covered with",
                   "a yellow elastomeric jacket only, with no isolation layer beneath it.",
                   "",
                   "With the jacket alone between tube and pipe it delivers more heat than *YJ-1*",
                   "or *YJ-2*, while the jacket still keeps the tube from touching the pipe.",
               }),
               true});
  p.push_back({"wrapcore", "", "Wrapcore", "WRAP.BMP",
               std::string("Wrapcore") + kRegistered + " Pre-Insulated Tubing",
               Lines({
                   "*Wrapcore* pre-insulated tubing carries steam from the supply header to the",
                   "tracers and condensate from the tracers back to the return header.",
                   "",
                   "The tube is insulated with fiberglass, wrapped in foil tape and covered with a",
                   "PVC jacket in the factory.",
                   "",
                   "As sub-header tubing it is the alternative to insulating supply and return",
                   "lines in the field: it is laid from the coil and needs no further insulation.",
               }),
               false});
  return p;
}

}  // namespace

PanelLine ParseMarkedLine(std::string_view marked) {
  PanelLine runs;
  auto append = [&](std::string_view text, bool bold) {
    if (text.empty()) return;
    if (!runs.empty() && runs.back().bold == bold) {
      runs.back().text += text;
    } else {
      runs.push_back({std::string(text), bold});
    }
  };
  std::size_t pos = 0;
  while (pos < marked.size()) {
    const std::size_t open = marked.find('*', pos);
    const std::size_t close = open == std::string_view::npos ? open : marked.find('*', open + 1);
    if (close == std::string_view::npos) {
      append(marked.substr(pos), false);
      break;
    }
    append(marked.substr(pos, open - pos), false);
    append(marked.substr(open + 1, close - open - 1), true);
    pos = close + 1;
  }
  return runs;
}

std::string PlainText(const PanelLine& line) {
  std::string text;
  for (const TextRun& run : line) text += run.text;
  return text;
}

const std::vector<AppSubmenu>& AppSubmenus() {
  static const std::vector<AppSubmenu> submenus = {
      {"channel", "Trough Line"}, {"Cement", "Fillet Trace"}, {"coverlyn", "Coverlyn"}};
  return submenus;
}

const std::vector<AppPanel>& AppPanels() {
  static const std::vector<AppPanel> panels = BuildPanels();
  return panels;
}

const AppPanel* FindAppPanel(std::string_view menuItem) {
  for (const AppPanel& p : AppPanels()) {
    if (p.menuItem == menuItem) return &p;
  }
  return nullptr;
}

}  // namespace vst
