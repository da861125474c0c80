#pragma once
// CJcampDx: the JCAMP-DX codec shared by the JCAMP-DX converters of every kind.
//
// Reading is generic: labels and data tables are parsed here and every result goes to four
// callbacks that each kind overrides (parameters, data blocks; header and data when writing).
// Tables are decoded in every ASDF form (AFFN, PAC, SQZ, DIF, DUP) into a PointMap; the writer
// encodes them in the fixed, packed, squeezed and difference-duplicate forms.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/convert/orvfile.h"
#include "spectrum/convert/pointmap.h"
#include "spectrum/convert/spcfailure.h"
#include "spectrum/data/cvariant.h"
#include "spectrum/data/spcdata.h"

class CSpcProcess;

// One variable (column) of a data table.
struct JcampVariable {
  double m_dDelta = 1.0;   // DELTAX
  double m_dFirst = 0.0;   // FIRST / FIRSTX
  double m_dLast = 0.0;    // LAST / LASTX
  double m_dMin = 0.0;     // MIN (written only)
  double m_dMax = 0.0;     // MAX (written only)
  std::string m_strUnits;  // UNITS / XUNITS
  std::string m_strName;   // VAR_NAME
  std::string m_strSymbol; // SYMBOL
  std::string m_strForm;   // VAR_FORM as read
  double m_dFactor = 1.0;  // FACTOR / XFACTOR (YFACTOR for the ordinate of a plain XYDATA table)
  std::int32_t m_nDim = 0; // VAR_DIM / NPOINTS
  std::int32_t m_bTable = 0;  // variable 0: 1 for XYDATA and DATA TABLE, 0 for PEAK TABLE
  std::int32_t m_nForm = 0;   // ordinate form when writing: 0 FIX, 1 PACKED, 2 SQUEEZED, 3 DIFFDUP
  // Variable 0, set by the reader before each table: 0 for the (X++(Y..Y)) form, else the
  // number of values in one group of a (XY..XY)-style table ("XY" 2, "XYW" 3).
  std::int32_t m_nGroup = 0;
};

struct JcampVariableList {
  std::vector<JcampVariable> vars;
  std::string name;  // written after NTUPLES
};

enum JcampForm : std::int32_t { kJcampFix = 0, kJcampPacked = 1, kJcampSqueezed = 2, kJcampDiffDup = 3 };

class CJcampDx {
 public:
  // Largest table or array the reader accepts.
  static constexpr std::int64_t kMaxPoints = std::int64_t(1) << 27;

  virtual ~CJcampDx() = default;

  // Index of the save option chosen for the file being written.
  std::int32_t m_nSaveOption = 0;

  // ---- Callbacks (the kinds override them) ----
  // Every label that ReadFile does not consume itself.
  virtual void OnParameter(const std::string& label, const CVariant& value, CSpcData* data);
  // A data table label was read; the file stands on the line after it. Reads the table and
  // stores it in the record; the result is the success of the read.
  virtual bool OnBlock(COrvFile& file, JcampVariableList& vars, std::int32_t page, CSpcData* data);
  // Appends the data lines of one table (variable index var) to out.
  virtual bool WriteData(std::string& out, JcampVariableList& vars, std::int32_t var, CSpcProcess* process);
  // Fills the variable descriptions and the header labels before a file is written.
  virtual void WriteHeader(JcampVariableList& vars, CSpcParamList& header, CSpcProcess* process);

  // ---- Reading ----
  // True when the file's first line holds "##TITLE=" and its labels name a JCAMP-DX version
  // and a DATA TYPE of the list (compared ignoring case). Reads from offset 0.
  static bool IsJcampFile(COrvFile& file, const std::vector<std::string>& dataTypes);
  // Reads the block whose DATA TYPE is in the list (the whole file from its start when the
  // list is null) through the callbacks. False when the file cannot be read, a table fails or
  // there is no END label; GetReadFailure then says which, and at which line.
  bool ReadFile(std::string_view path, CSpcData* data, const std::vector<std::string>* dataTypes);
  const SpcFailure& GetReadFailure() const { return m_readFailure; }
  // The next label of the file and its value (text, or an array of floats for "(a..b)"
  // values). False at the end of the file.
  static bool ReadLabel(COrvFile& file, std::string* label, CVariant* value);
  // The form in which label names compare: case, blanks, "-", "/" and "_" do not count, so
  // "Data_Type" and "DATATYPE" both give "DATATYPE".
  static std::string LabelKey(std::string_view label);
  // Splits a comma-separated list into trimmed text items; returns their count.
  static std::int32_t SplitList(std::string_view text, std::vector<CVariant>* items);
  // Decodes the table that follows the read position into points, described by variable var.
  // True when exactly its point count was decoded.
  static bool ReadXYData(COrvFile& file, PointMap* points, const JcampVariableList& vars, std::int32_t var);
  // The same table's ordinates alone, in the order of the points' x (ascending), as they would
  // come out of ReadXYData's points.
  static bool ReadOrdinates(COrvFile& file, std::vector<float>* ordinates, const JcampVariableList& vars,
                            std::int32_t var);
  // The x of the last point of a table of var that held n points: LASTX, or, for a table one
  // short of its count, the x of the last value there (the points run from FIRSTX on).
  static double LastXOf(const JcampVariableList& vars, std::int32_t var, std::int32_t n);

  // ---- Writing ----
  // Writes the whole file (header, table or NTUPLES pages, END) atomically.
  bool WriteNtuples(std::string_view path, CSpcProcess* process);
  static bool WriteLabel(std::string& out, std::string_view label, const CVariant& value);
  // The labels that describe a table of abscissa variable x and ordinate variable y (DELTAX to
  // FIRSTY), then the table label itself with its form, such as "XYDATA" "(X++(Y..Y))".
  static void WriteTableLabels(std::string& out, const JcampVariable& x, const JcampVariable& y,
                               std::string_view tableLabel, std::string_view tableForm);
  static std::string FormatRow(std::string_view label, std::string_view c1, std::string_view c2,
                               std::string_view c3, std::string_view c4);
  // Appends the data lines of one table; var names the ordinate variable whose form applies.
  static bool WriteAsdf(std::string& out, const PointMap& points, const JcampVariableList& vars, std::int32_t var);

 private:
  SpcFailure m_readFailure;
};

// Line end of written files (the format's files use CR LF).
inline constexpr std::string_view kJcampEol = "\r\n";
