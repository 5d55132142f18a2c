// What a merge run needs around MergeFiles, for kavlo merge and the window alike: the checks and
// loading of the three inputs, the date and time of the run, and RESULT's writers, as one file
// or as one file per object. Neither writer puts anything in place until Commit, so a failed run
// leaves no RESULT and an existing one as it was.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "merge/merge.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "platform/file.h"
#include "platform/regional.h"

namespace kavlo {

// Only text exports and folders of object files merge: an XML export, an object file or a
// backup raises EKavloError ("a.xml: an XML export; merge takes text exports (.txt) and folders
// of object files"), an unknown extension the reader's "Unsupported file type: ".
void CheckMergeable(const std::string& file);

// Loads one input (CheckMergeable first) into `slot` as file `fileNo`; an error of the file
// raises EKavloError with the file's name before its text.
void LoadMergeInput(TFob& slot, int fileNo, const std::string& file, const Regional& regional,
                    const LoadOptions& options = {});

// The date and time of the run, as an export writes them: the regional short date with a
// two-digit year, and the 24-hour time (MergeOptions::NowDate and NowTime).
std::pair<std::string, std::string> MergeNowTexts(const FormatSettings& fs);

// RESULT as one file: each object followed by the export's empty separator line. Raises
// EKavloError when `path` is one of `inputs` ("… is the input …; it would be replaced").
class MergeFileSink final : public MergeSink {
public:
    MergeFileSink(const std::string& path, const std::vector<std::string>& inputs);
    void Begin(std::string_view lineEnd, bool bom) override;
    void Object(int type, int id, std::string_view text) override;
    void Commit() { file_.Commit(); }

private:
    ReplacingFile file_;
    std::string lineEnd_;
};

// RESULT as a folder: one file per object (TAB18.TXT), written into a folder of its own beside
// DIR and moved into DIR once all are written; a failed run removes it and leaves DIR as it
// was. Raises EKavloError when DIR is an input folder or one of its files would replace an
// input.
class MergeFolderSink final : public MergeSink {
public:
    MergeFolderSink(const std::string& dir, const std::vector<std::string>& inputs);
    ~MergeFolderSink() override;
    void Begin(std::string_view, bool bom) override { bom_ = bom; }
    void Object(int type, int id, std::string_view text) override;
    void Commit();

private:
    std::string dir_, temporary_;
    std::vector<std::string> inputs_;
    std::vector<std::string> names_;
    bool bom_ = false;
};

}  // namespace kavlo
