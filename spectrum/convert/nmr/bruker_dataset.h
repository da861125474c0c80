#pragma once
// A Bruker data set on disk: a folder of experiment folders, each holding its acquisition
// parameters (acqus) and raw data (fid, or ser for 2D), and processing folders below its
// "pdata" folder with the processing parameters (procs), the processed spectrum (1r, 1i), the
// integral ranges (intrng) and the title. These are the steps that the 1D and 2D readers share.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spectrum/convert/jcampdx.h"
#include "spectrum/convert/spcfailure.h"
#include "spectrum/data/spcdata.h"

class CSpcConvert;

namespace bruker {

// The steps below that can fail say why in *why.

// Full paths of the subfolders of dir whose names have no extension, in name order.
std::vector<std::string> ListSubfolders(std::string_view dir);

// The experiment folders of a data set: its subfolders that hold acquisition parameters (an
// acqus or acqu file), in name order. Other folders beside them (a "__MACOSX" folder from an
// archive made on a Mac, a folder of the user's) are no experiments.
std::vector<std::string> ListExperiments(std::string_view dataSet);

// The entry name of folder in any spelling of its case, as a full path; "" when folder is ""
// or holds no such entry.
std::string FileIn(std::string_view folder, std::string_view name);

// True when the file name of folder (or, when the folder has none, name + "s": the parameters
// as acquired, which copies of a data set sometimes keep alone) is a JCAMP-DX file of one of the
// data types. Only the last experiment of a data set decides what the data set is, so
// detection looks at that one alone.
bool IsParameterFile(std::string_view folder, std::string_view name, const std::vector<std::string>& dataTypes);

// The experiment and processing folder that one read takes its files from.
struct DataSetFolders {
  std::string experiment;
  std::string processing;  // "" when the experiment has no processing folder
};

// Lists the experiments of the data set and the processings of the chosen experiment, asking
// the converter's choice function whenever a list holds more than one entry. False when there
// is no experiment or an answer is not an entry of its list.
bool LocateFolders(std::string_view dataSet, const CSpcConvert& chooser, DataSetFolders* folders, SpcFailure* why);

// Reads acqus and then procs through the parameter reader, which appends every label to the
// record. False when acqus cannot be read.
bool ReadParameters(CJcampDx& reader, const DataSetFolders& folders, CSpcData* data, SpcFailure* why);

// The fid: TD / 2 complex points put at the front of the FID vector (domain FID). Nothing when
// the file is short or missing, or its data type is unknown; false then.
bool ReadFid(const std::string& file, CSpcData* data, SpcFailure* why);

// The rows of a ser file: TD / 2 complex points each, appended to the FID vector one after
// another; rows start on 1024-byte boundaries and reading stops at the first incomplete row.
// Returns the number of rows read.
std::int32_t ReadSerRows(const std::string& file, CSpcData* data, SpcFailure* why);

// The processed spectrum: SI real parts from 1r and, when 1i is complete, imaginary parts from
// it, put at the front of the spectrum vector (domain spectrum, phases 0). Nothing when 1r is
// short or missing, SI is not positive or the data type is unknown; false then.
bool ReadProcessedSpectrum(const std::string& realFile, const std::string& imagFile, CSpcData* data, SpcFailure* why);

// Integral ranges in ppm (two header lines, then "from to" per line), turned into point ranges
// on the record's axis.
void ReadIntegralRanges(const std::string& file, CSpcData* data);

// The first line of the title file, appended as the parameter "TITLE" in place of the TITLE
// labels the parameter files brought.
void ReadTitle(const std::string& file, CSpcData* data);

// The last component of the data set's path (its name), ignoring a trailing separator.
std::string DataSetName(std::string_view path);

// The end shared by both readers: the record's name, the integral ranges and the title from the
// processing folder. True when the record holds any spectrum or FID point; else *why is dataWhy
// (why the point data could not be read).
bool FinishRead(std::string_view dataSet, const DataSetFolders& folders, CSpcData* data, const SpcFailure& dataWhy,
                SpcFailure* why);

}  // namespace bruker
