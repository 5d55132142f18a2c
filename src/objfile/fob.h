// One object record (TFobRec), one loaded object file (TFob), and the order, equality and
// column texts of records.
#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/file.h"
#include "platform/regional.h"

namespace kavlo {

// A text of at most N single-byte characters, stored inside the record (no pointers, so that
// a record is copied whole). A longer text is cut to N bytes when stored.
template <size_t N>
struct FixedText {
    static_assert(N < 256);
    char data[N];
    uint8_t size;

    std::string_view view() const { return {data, size}; }
    std::string str() const { return std::string(view()); }
    void assign(std::string_view s) {
        size = static_cast<uint8_t>(s.size() < N ? s.size() : N);
        if (size) std::memcpy(data, s.data(), size);
    }
    bool empty() const { return size == 0; }
    friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }
};

struct TFobRec {
    int32_t FileNo;
    int32_t ObjType;  // 0 to 9, see ObjectTypeNames
    int32_t ID;       // for table data the table number
    FixedText<30> Name;
    FixedText<248> VersionList;  // for table data the qualifier of the entry
    double Date;                 // day serial; 0 = no date
    FixedText<11> DateStr;
    double Time;  // fraction of a day
    FixedText<14> TimeStr;
    int32_t BlobSize;
    bool Modified;
    bool Compiled;
};
static_assert(std::is_trivially_copyable_v<TFobRec>);

// Replaces the file's date and time texts by the regional ones when the record has a date.
void ApplyDateTimeTexts(TFobRec& rec, const FormatSettings& fs);

// The fields that FobsEqual compares, and the two switches of the Equal and Different views.
// The program owns one for its whole run and hands it to the comparison dialog and to every
// build; each run starts with all fields on.
struct CompareSettings {
    bool CompareTypeID = true;
    bool CompareName = true;
    bool CompareVersion = true;
    bool CompareDate = true;
    bool CompareTime = true;
    bool CompareBlobSize = true;
    bool SortByFile = true;
    bool OnlyShowBoth = false;
    // Objects held by both files are equal only when their contents are equal too
    // (object_content.h); off, every comparison is by the fields above alone.
    bool CompareContent = false;
};

// Column texts: 0 File, 1 Type, 2 ID, 3 Name, 4 Version, 5 Date, 6 Time, 7 BLOB Size,
// 8 Modified, 9 Compiled ("True"/"False"). Another column raises an assertion.
std::string GetFobString(const TFobRec& rec, int column);
// -1, 0 or 1: type, then ID (signed), then for table data the qualifier in byte order.
int CompareFobs(const TFobRec& a, const TFobRec& b);
bool FobsEqual(const TFobRec& a, const TFobRec& b, const CompareSettings& cs);
inline bool FobsDifferent(const TFobRec& a, const TFobRec& b, const CompareSettings& cs) {
    return !FobsEqual(a, b, cs);
}

// Where one object's text (text and XML exports) or its stored data (object files and
// backups) lies in the file: the bytes [Begin, End). Begin == End when none was kept.
// In a folder load, Source is the index of the object's file in ContentSpans::Sources.
struct ObjectSpan {
    uint64_t Begin = 0;
    uint64_t End = 0;
    uint32_t Source = 0;
};

// One file of a folder that was loaded as one export: its full name and what tells whether it
// is still the file loaded.
struct SourceFile {
    std::string Name;
    uint64_t FileSize = 0;
    int64_t FileTime = 0;
    FileIdentity FileId;
};

// What a load keeps for reading objects' contents back from the file later
// (objfile/object_content.h): the spans, index for index with the records, and what tells
// whether the file is still the one that was loaded.
struct ContentSpans {
    std::vector<ObjectSpan> Spans;  // may be shorter than the list: the rest kept none
    uint64_t FileSize = 0;
    int64_t FileTime = 0;
    FileIdentity FileId;     // which file was loaded, whatever its name points to later
    bool Utf8 = false;       // a text export that starts with the UTF-8 byte-order mark
    int CodePage = 0;        // the OEM code page of the load (0: none, bytes taken as 1252)
    // A folder of object files loaded as one export: its files, in the order read, and the
    // line ending they share ("\r\n" or "\n"). Empty for a single file, whose spans lie in
    // the file named by the TFob's FileName and which FileSize, FileTime and FileId describe.
    std::vector<SourceFile> Sources;
    std::string LineEnd;
};

// One loaded object file: its slot, its name, its records and the spans kept for its objects'
// contents, fixed once read. Readers put one together through TFobBuilder; LoadObjectFile
// (objfile/load_object_file.h) reads a file into a slot. Movable, so that a slot takes a new
// one whole; never copied.
class TFob {
public:
    TFob();
    ~TFob();
    TFob(TFob&&) noexcept;
    TFob& operator=(TFob&&) noexcept;
    TFob(const TFob&) = delete;
    TFob& operator=(const TFob&) = delete;

    // Raises "Unsupported file type: " + the lower-cased extension unless it is one of the
    // four object file extensions.
    static void CheckFileType(std::string_view fileName);
    // Whether CheckFileType accepts the name.
    static bool IsKnownFileType(std::string_view fileName);
    // The lower-cased extension with its dot, or empty.
    static std::string ExtensionOf(std::string_view fileName);

    // Empties the list; FileNo 0, FileName empty. FileExt keeps its value.
    void Clear();

    // 1 or 2 while a file is loaded, 0 after Clear.
    int32_t FileNo() const { return fileNo_; }
    const std::string& FileName() const { return fileName_; }
    // The extension of FileName, lower-cased, with its dot (".fob"); empty when it has none.
    const std::string& FileExt() const { return fileExt_; }
    // What the load kept for reading objects' contents back (objfile/object_content.h).
    const ContentSpans& Content() const { return content_; }

    int32_t Count() const { return static_cast<int32_t>(fobs_.size()); }
    TFobRec GetFob(int index) const { return fobs_[static_cast<size_t>(index)]; }
    const TFobRec& Fob(int index) const { return fobs_[static_cast<size_t>(index)]; }
    const std::vector<TFobRec>& Fobs() const { return fobs_; }
    std::string GetFobCommaText(int index) const;

    // The first record with this type and ID, or -1, exactly as a walk from index 0 that
    // stops at the first record past (type, ID) finds it; answered from an index.
    int FindFob(int type, int id) const;
    // As FindFob; for table data the qualifier must match too, and the walk stops only at the
    // first record of another type.
    int FindFobByText(int type, int id, std::string_view text) const;

    // The order in which the exchange sort by CompareFobs leaves the leading block of table
    // data, without moving a record: entry k is the index of the record that it puts at k. Its
    // size is that of the block. The Different merge walks a backup's table data in it.
    std::vector<size_t> TableDataOrder() const;

private:
    friend class TFobBuilder;
    struct Index;
    const Index& LookupIndex() const;

    int32_t fileNo_ = 0;
    std::string fileName_;
    std::string fileExt_;
    ContentSpans content_;
    std::vector<TFobRec> fobs_;
    mutable std::unique_ptr<Index> index_;
};

// Puts a loaded file together: the readers fill one as they read and hand over what they read
// with Finish, also when reading stops at an error; tests build lists of their own with it.
class TFobBuilder {
public:
    // The file of this slot and name; its extension is taken from the name.
    explicit TFobBuilder(int32_t fileNo = 0, const std::string& fileName = {});
    // The file of this slot and name, read as a file of that extension whatever its name: a
    // folder of object files is read as one text export (".txt").
    TFobBuilder(int32_t fileNo, const std::string& fileName, std::string_view fileExt);

    int32_t FileNo() const { return fob_.fileNo_; }
    // The records so far. Taking them drops the lookup index that FindFob built.
    std::vector<TFobRec>& Fobs();
    ContentSpans& Content() { return fob_.content_; }
    // As TFob::FindFob over the records so far.
    int FindFob(int type, int id) const { return fob_.FindFob(type, id); }

    // The finished file; the builder is empty afterwards.
    TFob Finish();

private:
    TFob fob_;
};

// The literal walks, kept as the reference the indexed lookups are tested against.
int FindFobLinear(const std::vector<TFobRec>& fobs, int type, int id);
int FindFobByTextLinear(const std::vector<TFobRec>& fobs, int type, int id, std::string_view text);

}  // namespace kavlo
