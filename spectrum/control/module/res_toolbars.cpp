// The module's resources of the eight bars of the control besides the console: their titles,
// their buttons (an embedded control's place holds the control's id until the bar puts the
// control there; 0 is a gap), the button pictures, the knobs' captions and the baseline methods.
#include <cstdint>
#include <span>
#include <vector>

#include "spectrum/control/module/nelvar_ids.h"
#include "spectrum/control/module/resources.h"

namespace nelvar {

namespace {

const ui::StringResource kStrings[] = {
    {3067, "Spectrum Control"},
    {3068, "Phase Control"},
    {3069, "Integral Control"},
    {3070, "Calibrate Control"},
    {3091, "Transforms"},
    {3092, "Cubic Splines"},
    {3093, "Linear"},
    {3094, "Cuadratic"},
    {3095, "Cubic"},
    {3096, "4-th Order"},
    {3097, "5-th Order"},
    {3098, "6-th Order"},
    {3099, "Baseline"},
    {3101, "Phase 0: %.2f deg"},
    {3102, "Phase 1: %.2f deg"},
    {3103, "Integral: %.f%%"},
    {3104, "Linear: %.2f%%"},
    {3105, "Amplitude: %.f%%"},
    {3111, "Multi Display"},
    {3120, "Navigator"},
};

constexpr ui::UINT kSpectrum[] = {1001, 0, 1045, 0, 40099, 40100, 40101, 40102, 40045, 40051, 40046};
constexpr ui::UINT kPhase[] = {1029, 0, 1030, 0, 40076, 40031, 40030, 40034, 40117, 40118, 40069};
constexpr ui::UINT kIntegral[] = {1003, 0, 1044, 0, 40109, 40070, 40056, 40039, 40104, 40124, 40138};
constexpr ui::UINT kPick[] = {40075, 40068, 40119, 40022, 40038, 40103};
constexpr ui::UINT kTransform[] = {40024, 40028, 40050, 40029};
constexpr ui::UINT kBaseline[] = {40080, 40081, 40082, 0, 1051, 0, 1054};
constexpr ui::UINT kMultiDisp[] = {1055, 0, 40150, 40151, 0, 40152, 40154, 40153};
constexpr ui::UINT kNavigate[] = {40164, 40162, 1060, 40161, 40165};

const ui::ToolbarResource kToolbars[] = {
    {IDW_SPECTRUMBAR, 16, 15, kSpectrum},   {IDW_PHASEBAR, 16, 15, kPhase},         {IDW_INTEGRALBAR, 16, 15, kIntegral},
    {IDW_PICKBAR, 16, 15, kPick},           {IDW_TRANSFORMBAR, 16, 15, kTransform}, {IDW_BASELINEBAR, 16, 15, kBaseline},
    {IDW_MULTIDISPBAR, 16, 15, kMultiDisp}, {IDW_NAVIGATEBAR, 16, 15, kNavigate},
};

// The buttons' pictures. Traces are navy, integral curves dark green, the pointer, arrows and
// marks black; a red or green badge tells apart commands that act on the same kind of trace.

// 40099: scroll left
constexpr const char* kScrollLeft[] = {
    "................",
    ".....k..........",
    "....kk..........",
    "...kkkkkkkkkkk..",
    "..kkkkkkkkkkkk..",
    "...kkkkkkkkkkk..",
    "....kk..........",
    ".....k..........",
    "................",
    "..........b.....",
    ".....b....b.....",
    "....b.b..b.b....",
    "....b.b..b.b....",
    "bbbb...bb...bbbb",
    "................",
};

// 40100: scroll right
constexpr const char* kScrollRight[] = {
    "................",
    "..........k.....",
    "..........kk....",
    "..kkkkkkkkkkk...",
    "..kkkkkkkkkkkk..",
    "..kkkkkkkkkkk...",
    "..........kk....",
    "..........k.....",
    "................",
    "..........b.....",
    ".....b....b.....",
    "....b.b..b.b....",
    "....b.b..b.b....",
    "bbbb...bb...bbbb",
    "................",
};

// 40101: move up
constexpr const char* kMoveUp[] = {
    ".......k........",
    "......kkk.......",
    ".....kkkkk......",
    "....kkkkkkk.....",
    "......kkk.......",
    "......kkk.......",
    "......kkk.......",
    "......kkk.......",
    "................",
    "..........b.....",
    ".....b....b.....",
    "....b.b..b.b....",
    "....b.b..b.b....",
    "bbbb...bb...bbbb",
    "................",
};

// 40102: move down
constexpr const char* kMoveDown[] = {
    "......kkk.......",
    "......kkk.......",
    "......kkk.......",
    "......kkk.......",
    "....kkkkkkk.....",
    ".....kkkkk......",
    "......kkk.......",
    ".......k........",
    "................",
    "..........b.....",
    ".....b....b.....",
    "....b.b..b.b....",
    "....b.b..b.b....",
    "bbbb...bb...bbbb",
    "................",
};

// 40045: zoom in
constexpr const char* kZoomIn[] = {
    "...kkkkk........",
    "..kwwwwwk.......",
    ".kwwwkwwwk......",
    ".kwwwkwwwk......",
    ".kwkkkkkwk......",
    ".kwwwkwwwk......",
    ".kwwwkwwwk......",
    "..kwwwwwk.......",
    "...kkkkkkk......",
    ".........kkk....",
    "..........kkk...",
    "...........kkk..",
    "............kk..",
    "................",
    "................",
};

// 40051: zoom out
constexpr const char* kZoomOut[] = {
    "...kkkkk........",
    "..kwwwwwk.......",
    ".kwwwwwwwk......",
    ".kwwwwwwwk......",
    ".kwkkkkkwk......",
    ".kwwwwwwwk......",
    ".kwwwwwwwk......",
    "..kwwwwwk.......",
    "...kkkkkkk......",
    ".........kkk....",
    "..........kkk...",
    "...........kkk..",
    "............kk..",
    "................",
    "................",
};

// 40046: full size
constexpr const char* kFullSize[] = {
    "................",
    "k..k........k..k",
    "k.kk........kk.k",
    "kkkkkkkkkkkkkkkk",
    "k.kk........kk.k",
    "k..k........k..k",
    "k..............k",
    "k..............k",
    "k.........b....k",
    "k....b...b.b...k",
    "k...b.b..b.b...k",
    "kbbb...bb...bbbk",
    "k..............k",
    "................",
    "................",
};

// 40076: phasing mode: a dispersive line and the pointer
constexpr const char* kPhasingMode[] = {
    "..........k.....",
    "..........kk....",
    "......b...kwk...",
    ".....b.b..kwwk..",
    ".....b.b..kwwwk.",
    ".....b.b..kwkk..",
    "....b..b..kk....",
    "....b..b........",
    "bbbb...b....bbbb",
    "........b..b....",
    "........b.b.....",
    "........b.b.....",
    "........b.b.....",
    ".........b......",
    "................",
};

// 40031: quick phase: the corrected peak, quickly
constexpr const char* kQuickPhase[] = {
    ".............RR.",
    "............RR..",
    "...........RR...",
    ".......b...RRRR.",
    "......b.b....RR.",
    "......b.b...RR..",
    "......b.b...R...",
    "......b.b.......",
    "......b.b.......",
    ".....b...b......",
    ".....b...b......",
    ".....b...b......",
    "....b.....b.....",
    "bbbb.......bbbbb",
    "................",
};

// 40030: auto phase: the corrected peak, automatically
constexpr const char* kAutoPhase[] = {
    "............G...",
    "...........G.G..",
    "...........GGG..",
    ".......b...G.G..",
    "......b.b..G.G..",
    "......b.b.......",
    "......b.b.......",
    "......b.b.......",
    "......b.b.......",
    ".....b...b......",
    ".....b...b......",
    ".....b...b......",
    "....b.....b.....",
    "bbbb.......bbbbb",
    "................",
};

// 40034: zero phase
constexpr const char* kZeroPhase[] = {
    "............RRR.",
    "............R.R.",
    "......b.....R.R.",
    ".....b.b....R.R.",
    ".....b.b....RRR.",
    ".....b.b........",
    "....b..b........",
    "....b..b........",
    "bbbb...b....bbbb",
    "........b..b....",
    "........b.b.....",
    "........b.b.....",
    "........b.b.....",
    ".........b......",
    "................",
};

// 40117: save the phase
constexpr const char* kSavePhase[] = {
    ".......GG.......",
    ".......GG.......",
    ".....GGGGGG.....",
    "......GGGG......",
    ".......GG.......",
    "...kkkkkkkkkk...",
    "...kgkwwwwkgk...",
    "...kgkwwwwkgk...",
    "...kggggggggk...",
    "...kgwwwwwwgk...",
    "...kgwbwwwwgk...",
    "...kgbwbwbwgk...",
    "...kgwwwbwwgk...",
    "...kgwwwwwwgk...",
    "...kkkkkkkkkk...",
};

// 40118: restore the phase
constexpr const char* kRestorePhase[] = {
    ".......GG.......",
    "......GGGG......",
    ".....GGGGGG.....",
    ".......GG.......",
    ".......GG.......",
    "...kkkkkkkkkk...",
    "...kgkwwwwkgk...",
    "...kgkwwwwkgk...",
    "...kggggggggk...",
    "...kgwwwwwwgk...",
    "...kgwbwwwwgk...",
    "...kgbwbwbwgk...",
    "...kgwwwbwwgk...",
    "...kgwwwwwwgk...",
    "...kkkkkkkkkk...",
};

// 40069: set the pivot: a dashed line on its fulcrum
constexpr const char* kSetPivot[] = {
    "...........R....",
    "................",
    "...........R....",
    "....b...........",
    "...b.b.....R....",
    "...b.b..........",
    "...b.b.....R....",
    "...b.b..........",
    "...b.b.....R....",
    "...b.b..........",
    "..b...b....R....",
    "..b...b....k....",
    "..b...b...kkk...",
    "bb.....bbkkkkkbb",
    "................",
};

// 40109: integration mode: an integral curve and the pointer
constexpr const char* kIntegrationMode[] = {
    "..........k.....",
    "..........kk....",
    "..........kwk...",
    "..........kwwk..",
    "........GGkwwwk.",
    ".......G..kwkk..",
    "......G...kk....",
    "......G.........",
    ".....G..........",
    ".....G..........",
    ".....G..........",
    "....G...........",
    "...G............",
    "GGG.............",
    "................",
};

// 40070: automatic integration over every peak
constexpr const char* kAutoIntegration[] = {
    ".k..............",
    "k.k........GGGGG",
    "kkk.......G.....",
    "k.k.......G.....",
    "k.k.GGGGGG......",
    "...G............",
    "...G............",
    "GGG.............",
    "..........b.....",
    "...b......b.....",
    "...b.....b.b....",
    "..b.b....b.b....",
    "..b.b...b...b...",
    "bb...bbb.....bbb",
    "................",
};

// 40056: delete all integrals
constexpr const char* kDeleteIntegrals[] = {
    "................",
    ".......GG.......",
    "......G.........",
    ".....G..........",
    ".....G..........",
    "....G...........",
    "....G...........",
    "...G.....RR...RR",
    "GGG.......RR.RR.",
    "...........RRR..",
    "............R...",
    "...........RRR..",
    "..........RR.RR.",
    ".........RR...RR",
    "................",
};

// 40039: add an integral
constexpr const char* kAddIntegral[] = {
    "................",
    ".......GG.......",
    "......G.........",
    ".....G..........",
    ".....G..........",
    "....G...........",
    "....G...........",
    "...G.......kk...",
    "GGG........kk...",
    ".........kkkkkk.",
    ".........kkkkkk.",
    "...........kk...",
    "...........kk...",
    "................",
    "................",
};

// 40104: normalise integrals to the largest
constexpr const char* kNormalizeIntegrals[] = {
    "................",
    "kkkkkkkkkk......",
    ".......GG....k..",
    "......G.....kkk.",
    ".....G.......k..",
    ".....G.......k..",
    "....G........k..",
    "....G........k..",
    "...G.........k..",
    "GGG..........k..",
    ".............k..",
    "............kkk.",
    ".............k..",
    "kkkkkkkkkk......",
    "................",
};

// 40124: set the sum of the integrals under their bracket
constexpr const char* kSetSumOfIntegrals[] = {
    "................",
    "....kkkkkkk.....",
    ".....kk.........",
    "......kk........",
    ".......kk.......",
    "......kk........",
    ".....kk.........",
    "....kkkkkkk.....",
    "................",
    ".G............G.",
    ".G............G.",
    ".GGGGGGGGGGGGGG.",
    ".......GG.......",
    ".......GG.......",
    "................",
};

// 40138: integral correction: the curve ends in its handle
constexpr const char* kIntegralCorrection[] = {
    "................",
    "................",
    "..............k.",
    ".......kkkkk.kkk",
    ".......kGGGk..k.",
    ".......kGGGk..k.",
    "......GkGGGk..k.",
    ".....G.kkkkk..k.",
    ".....G........k.",
    "....G........kkk",
    "....G.........k.",
    "...G............",
    "...G............",
    "GGG.............",
    "................",
};

// 40075: picking mode: the pick cross beside a peak
constexpr const char* kPickingMode[] = {
    "................",
    "...........R....",
    "...........R....",
    "....b......R....",
    "...b.b.....R....",
    "...b.b.RRRR.RRRR",
    "...b.b.....R....",
    "...b.b.....R....",
    "...b.b.....R....",
    "...b.b.....R....",
    "..b...b.........",
    "..b...b.........",
    "..b...b.........",
    "bb.....bbbbbbbbb",
    "................",
};

// 40068: calibrate: the reference mark on the axis
constexpr const char* kCalibrate[] = {
    ".....RRRRR......",
    "......RRR.......",
    ".......R........",
    ".......b........",
    "......b.b.......",
    "......b.b.......",
    "......b.b.......",
    ".....b...b......",
    ".....b...b......",
    "....b.....b.....",
    "bbbb.......bbbbb",
    "................",
    "kkkkkkkkkkkkkkkk",
    "k...k..R...k...k",
    ".......R........",
};

// 40119: text mode
constexpr const char* kTextMode[] = {
    "................",
    "................",
    ".kkkkkkkkkk.....",
    ".kk..kk..kk.BBB.",
    ".....kk......B..",
    ".....kk......B..",
    ".....kk......B..",
    ".....kk......B..",
    ".....kk......B..",
    ".....kk......B..",
    ".....kk......B..",
    ".....kk.....BBB.",
    "...kkkkkk.......",
    "................",
    "................",
};

// 40022: clone the selected range into a new item
constexpr const char* kClone[] = {
    "kkkkkkkkkk......",
    "kwwwwwwwwk......",
    "kwwwbwwwwk......",
    "kwwbwbwwwk......",
    "kbbwwwbbbk......",
    "kwwwwwkkkkkkkkkk",
    "kwwwwwkwwwwwwwwk",
    "kwwwwwkwwwwbwwwk",
    "kwwwwwkwwwwbwwwk",
    "kkkkkkkwwwbwbwwk",
    "......kwwwbwbwwk",
    "......kwwbwwwbwk",
    "......kbbwwwwwbk",
    "......kwwwwwwwwk",
    "......kkkkkkkkkk",
};

// 40038: peak picking: one peak marked
constexpr const char* kPeakPicking[] = {
    ".....kkkkk......",
    "......kkk.......",
    ".......k........",
    "................",
    ".......b........",
    "......b.b.......",
    "......b.b.......",
    "......b.b.......",
    "......b.b.......",
    ".....b...b......",
    ".....b...b......",
    "....b.....b.....",
    "...b.......b....",
    "bbb.........bbbb",
    "................",
};

// 40103: automatic peak picking: every peak marked
constexpr const char* kAutoPeakPicking[] = {
    ".kkk..kkk..kkk..",
    "..k....k....k...",
    "................",
    ".......b........",
    "......b.b.......",
    "......b.b...b...",
    "..b...b.b..b.b..",
    ".b.b..b.b..b.b..",
    ".b.b..b.b..b.b..",
    ".b.b..b.b..b.b..",
    ".b.b..b.b..b.b..",
    ".b.b..b.b..b.b..",
    ".b.b..b.b..b.b..",
    "b...bb...bb...bb",
    "................",
};

// 40024: Fourier transform: FID to spectrum
constexpr const char* kFourierTransform[] = {
    "b...............",
    "b...b........k..",
    ".b.bbb..b....k..",
    ".b.b.b.b.bb..k..",
    ".b.b.b.b..b..k..",
    "..b...b......k..",
    "..b..........k..",
    ".............k..",
    ".....b.......k..",
    "....b.b......k..",
    "....b.b....kkkkk",
    "....b.b.....kkk.",
    "...b...b.....k..",
    "bbb.....bbb.....",
    "................",
};

// 40028: inverse transform: spectrum to FID
constexpr const char* kInverseTransform[] = {
    ".....b..........",
    "....b.b......k..",
    "....b.b......k..",
    "....b.b......k..",
    "...b...b.....k..",
    "bbb.....bbb..k..",
    ".............k..",
    "b............k..",
    "b...b........k..",
    ".b.bbb..b....k..",
    ".b.b.b.b.bbkkkkk",
    ".b.b.b.b..b.kkk.",
    "..b...b......k..",
    "..b.............",
    "................",
};

// 40050: wavelet transform
constexpr const char* kWaveletTransform[] = {
    "b...............",
    "b...b........k..",
    ".b.bbb..b....k..",
    ".b.b.b.b.bb..k..",
    ".b.b.b.b..b..k..",
    "..b...b......k..",
    "..b..........k..",
    ".............k..",
    ".....b.......k..",
    "....b.b......k..",
    "....b.b....kkkkk",
    "bb.b...b.bb.kkk.",
    "..b.....b....k..",
    "................",
    "................",
};

// 40029: Hilbert transform: absorption to dispersion
constexpr const char* kHilbertTransform[] = {
    ".....b..........",
    "....b.b......k..",
    "....b.b......k..",
    "....b.b......k..",
    "...b...b.....k..",
    "bbb.....bbb..k..",
    ".............k..",
    ".............k..",
    "....b........k..",
    "...b.b.......k..",
    "bbbb.b..bbbkkkkk",
    ".....b.b....kkk.",
    ".....b.b.....k..",
    "......b.........",
    "................",
};

// 40080: show the baseline
constexpr const char* kShowBaseline[] = {
    "................",
    ".......b........",
    "......b.b.......",
    "......b.b.......",
    "......b.b.......",
    ".....b...b......",
    ".....b...b......",
    "....b.....b.....",
    "..bb.......bb...",
    "bb...........bbb",
    "................",
    "RR..............",
    "..RRRR.....RRRRR",
    "......RRRRR.....",
    "................",
};

// 40081: baseline correction: a sloping trace made level
constexpr const char* kBaselineCorrection[] = {
    ".....b..........",
    "....b.b......k..",
    "....b.b..bb..k..",
    "....b.bbb....k..",
    "..bbb........k..",
    "bb...........k..",
    ".............k..",
    ".............k..",
    ".....b.......k..",
    "....b.b......k..",
    "....b.b....kkkkk",
    "....b.b.....kkk.",
    "...b...b.....k..",
    "bbb.....bbb.....",
    "................",
};

// 40082: choose the baseline points automatically
constexpr const char* kAutoSelectPoints[] = {
    ".k..............",
    "k.k.............",
    "kkk.....b.......",
    "k.k....b.b......",
    "k.k....b.b......",
    ".......b.b......",
    "......b...b.....",
    "......b...b.....",
    ".....b.....b....",
    ".LL.b.......b.LL",
    "GLLGb........GLL",
    "GLLG..........GG",
    ".GG.......LL....",
    ".........GLLG...",
    "..........GG....",
};

// 40150: load an additional spectrum
constexpr const char* kLoadAdditional[] = {
    "...........kk...",
    "...........kk...",
    ".kkk.....kkkkkk.",
    "kyyyk....kkkkkk.",
    "kyyyykkkkkkk....",
    "kyyyyyyyyykk....",
    "kyyyyyyyyyyk....",
    "kykkkkkkkkkkkk..",
    "kyk........Yk...",
    "kykY......Yk....",
    "kkkYYYYYYYYk....",
    "kkYYYYYYYYk.....",
    "kkkkkkkkkkk.....",
    "................",
    "................",
};

// 40151: calculate a spectrum from two
constexpr const char* kCalculateSpectrum[] = {
    "...b............",
    "..b.b.......k...",
    "..b.b.......k...",
    ".b...b....kkkkk.",
    "b.....b.....k...",
    "............k...",
    "..........kkkkk.",
    "................",
    "..........kkkkk.",
    "........b.......",
    ".......b.b......",
    ".......b.b......",
    "......b...b.....",
    "bbbbbb.....bbbbb",
    "................",
};

// 40152: tile the spectra
constexpr const char* kTile[] = {
    "kkkkkkkkkkkkkkkk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwbwwwwwwwk",
    "kwwwwwbwbwwwwwwk",
    "kbbbbbwwwbbbbbbk",
    "kkkkkkkkkkkkkkkk",
    "................",
    "kkkkkkkkkkkkkkkk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwwwwRwwwwk",
    "kwwwwwwwwRwRwwwk",
    "kRRRRRRRRwwwRRRk",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
};

// 40154: couple the spectra in one plot
constexpr const char* kCouple[] = {
    "kkkkkkkkkkkkkkkk",
    "kwwwwwwwwwwwwwwk",
    "kwwwwwwbwwwwwwwk",
    "kwwwwwwbwwwwwwwk",
    "kwwwwwbwbwwwwwwk",
    "kwwwwwbwbwRwwwwk",
    "kwwwwwbwbwRwwwwk",
    "kwwwwwbwbRwRwwwk",
    "kwwwwbwwwRwRwwwk",
    "kwwwwbwwRbwwRwwk",
    "kbbbbRRRRwbbbRRk",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
    "................",
};

// 40153: synchronise the views
constexpr const char* kSynchronize[] = {
    ".......b........",
    "......b.b.......",
    "......b.b.......",
    ".....b...b......",
    "bbbbb.....bbbbbb",
    ".......k........",
    "................",
    ".......k........",
    "................",
    ".......k........",
    ".......R........",
    "......R.R.......",
    "......R.R.......",
    ".....R...R......",
    "RRRRR.....RRRRRR",
};

// 40164: first scan
constexpr const char* kFirstScan[] = {
    "................",
    "................",
    "...kk.....k.....",
    "...kk....kk.....",
    "...kk...kkk.....",
    "...kk..kkkk.....",
    "...kk.kkkkk.....",
    "...kkkkkkkk.....",
    "...kk.kkkkk.....",
    "...kk..kkkk.....",
    "...kk...kkk.....",
    "...kk....kk.....",
    "...kk.....k.....",
    "................",
    "................",
};

// 40162: previous scan
constexpr const char* kPreviousScan[] = {
    "................",
    "................",
    "..........k.....",
    ".........kk.....",
    "........kkk.....",
    ".......kkkk.....",
    "......kkkkk.....",
    ".....kkkkkk.....",
    "......kkkkk.....",
    ".......kkkk.....",
    "........kkk.....",
    ".........kk.....",
    "..........k.....",
    "................",
    "................",
};

// 40161: next scan
constexpr const char* kNextScan[] = {
    "................",
    "................",
    ".....k..........",
    ".....kk.........",
    ".....kkk........",
    ".....kkkk.......",
    ".....kkkkk......",
    ".....kkkkkk.....",
    ".....kkkkk......",
    ".....kkkk.......",
    ".....kkk........",
    ".....kk.........",
    ".....k..........",
    "................",
    "................",
};

// 40165: last scan
constexpr const char* kLastScan[] = {
    "................",
    "................",
    ".....k.....kk...",
    ".....kk....kk...",
    ".....kkk...kk...",
    ".....kkkk..kk...",
    ".....kkkkk.kk...",
    ".....kkkkkkkk...",
    ".....kkkkk.kk...",
    ".....kkkk..kk...",
    ".....kkk...kk...",
    ".....kk....kk...",
    ".....k.....kk...",
    "................",
    "................",
};

constexpr ButtonPicture kPictures[] = {
    {40099, kScrollLeft},         {40100, kScrollRight},       {40101, kMoveUp},
    {40102, kMoveDown},           {40045, kZoomIn},            {40051, kZoomOut},
    {40046, kFullSize},           {40076, kPhasingMode},       {40031, kQuickPhase},
    {40030, kAutoPhase},          {40034, kZeroPhase},         {40117, kSavePhase},
    {40118, kRestorePhase},       {40069, kSetPivot},          {40109, kIntegrationMode},
    {40070, kAutoIntegration},    {40056, kDeleteIntegrals},   {40039, kAddIntegral},
    {40104, kNormalizeIntegrals}, {40124, kSetSumOfIntegrals}, {40138, kIntegralCorrection},
    {40075, kPickingMode},        {40068, kCalibrate},         {40119, kTextMode},
    {40022, kClone},              {40038, kPeakPicking},       {40103, kAutoPeakPicking},
    {40024, kFourierTransform},   {40028, kInverseTransform},  {40050, kWaveletTransform},
    {40029, kHilbertTransform},   {40080, kShowBaseline},      {40081, kBaselineCorrection},
    {40082, kAutoSelectPoints},   {40150, kLoadAdditional},    {40151, kCalculateSpectrum},
    {40152, kTile},               {40154, kCouple},            {40153, kSynchronize},
    {40164, kFirstScan},          {40162, kPreviousScan},      {40161, kNextScan},
    {40165, kLastScan},
};

}  // namespace

const ui::ResourceSet& ToolbarResources() {
  static const std::vector<std::vector<std::uint8_t>> strips = [] {
    std::vector<std::vector<std::uint8_t>> made;
    for (const ui::ToolbarResource& tb : kToolbars) made.push_back(ToolbarStrip(tb.items, kPictures));
    return made;
  }();
  static const std::vector<ui::BitmapResource> bitmaps = [] {
    std::vector<ui::BitmapResource> made;
    for (std::size_t i = 0; i < std::size(kToolbars); ++i) made.push_back({kToolbars[i].id, strips[i]});
    return made;
  }();
  static const ui::ResourceSet part = [] {
    ui::ResourceSet s;
    s.strings = kStrings;
    s.toolbars = kToolbars;
    s.bitmaps = bitmaps;
    return s;
  }();
  return part;
}

}  // namespace nelvar
