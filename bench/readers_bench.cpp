// The text, XML and backup readers against a plain read of the same file, in one run (the
// median of seven runs, with the fastest and slowest):
//  - a text export of about 500 MB (60,000 objects with bodies), against reading it and
//    counting its lines, and the reader's peak memory against the file's size;
//  - XML exports of 10 MB and 100 MB, and the 100 MB one as one single line, each against
//    reading and counting lines; the 100 MB reads should take at most 12 times the 10 MB read;
//  - a backup of 100,000 table-data entries and 10,000 objects with their data, against one
//    plain read;
//  - a 1 GB line without a break, as a text and as an XML file: time and peak memory.
// The files go to KAVLO_BENCH_DIR (or /tmp) and are deleted afterwards.
//   readers_bench [--small]   (--small: a tenth of the sizes, for a quick look)
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "bench_util.h"
#include "objfile/fob.h"
#include "objfile/load_object_file.h"
#include "support/fbk_writer.h"
#include "support/fixed_regional.h"
#include "support/txt_writer.h"
#include "support/xml_writer.h"

using namespace kavlo;
using namespace kavlo::bench;

namespace {

constexpr int kRuns = 7;
double g_scale = 1.0;

// Writes the file in pieces, so that the generator never holds a whole large file.
class PieceWriter {
public:
    explicit PieceWriter(const std::string& path) : out_(path, std::ios::binary | std::ios::trunc), path_(path) {
        if (!out_) throw std::runtime_error("cannot write " + path);
    }
    void Write(const std::string& s) {
        out_.write(s.data(), static_cast<std::streamsize>(s.size()));
        size_ += s.size();
    }
    uint64_t Close() {
        out_.close();
        if (!out_) throw std::runtime_error("cannot write " + path_);
        return size_;
    }

private:
    std::ofstream out_;
    std::string path_;
    uint64_t size_ = 0;
};

double Mb(uint64_t bytes) { return static_cast<double>(bytes) / 1e6; }

int32_t LoadCount(const std::string& path) {
    static const testing::FixedRegional regional;
    TFob fob;
    LoadObjectFile(fob, 1, path, regional.Get());
    return fob.Count();
}

struct Timing {
    Spread reader, baseline;
    int32_t count = 0;
    size_t peak = 0;
    double Ratio() const { return reader.median / baseline.median; }
};

Timing Measure(const std::string& path, bool plainBaseline) {
    Timing t;
    t.baseline = MedianSeconds(kRuns, [&] {
        if (plainBaseline) PlainRead(path);
        else ReadAndCountLines(path);
    });
    ResetPeakRss();
    t.count = LoadCount(path);
    t.peak = PeakRssBytes();
    t.reader = MedianSeconds(kRuns, [&] { t.count = LoadCount(path); });
    return t;
}

void Report(const char* what, uint64_t size, const Timing& t, const char* baseline) {
    std::printf("%-34s %8.1f MB %8d records  reader %s  %s %s  ratio %5.2f  peak %6.1f MB (%.3fx size)\n", what,
                Mb(size), t.count, Ms(t.reader).c_str(), baseline, Ms(t.baseline).c_str(), t.Ratio(), Mb(t.peak),
                static_cast<double>(t.peak) / static_cast<double>(size));
    std::fflush(stdout);
}

void TextExport() {
    const std::string path = TempPath("kavlo_bench_export.txt");
    const int objects = static_cast<int>(60000 * g_scale);
    uint64_t size = 0;
    {
        const std::vector<testing::TxtObject> all = testing::RealisticTxtObjects(objects, 21, 235);
        PieceWriter w(path);
        for (size_t from = 0; from < all.size(); from += 1000) {
            testing::TxtFile piece;
            piece.objects.assign(all.begin() + static_cast<std::ptrdiff_t>(from),
                                 all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), from + 1000)));
            w.Write(testing::WriteTxt(piece));
        }
        size = w.Close();
    }
    const Timing t = Measure(path, false);
    Report("text export", size, t, "read+lines");
    std::printf("  text reader: %.2fx the baseline (target < 2), peak memory %.2fx the file (target < 2.5)\n\n",
                t.Ratio(), static_cast<double>(t.peak) / static_cast<double>(size));
    std::filesystem::remove(path);
}

uint64_t WriteXmlExport(const std::string& path, double megabytes, bool oneLine) {
    // Bodies of 100 lines make elements of about 6 KB.
    const int elements = static_cast<int>(megabytes * 1e6 / 6100);
    const std::vector<testing::XmlElement> all = testing::RealisticXmlElements(elements, 5, 100);
    PieceWriter w(path);
    for (size_t from = 0; from < all.size(); from += 500) {
        testing::XmlFile piece;
        piece.oneLine = oneLine;
        piece.elements.assign(all.begin() + static_cast<std::ptrdiff_t>(from),
                              all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), from + 500)));
        std::string text = testing::WriteXml(piece);
        // One root around all pieces: the first piece keeps its start, the last its end.
        if (from > 0) text.erase(0, text.find("<Objects "));
        if (from > 0) text.erase(0, text.find('>') + 1);
        if (from + 500 < all.size()) text.erase(text.rfind("</Objects>"));
        w.Write(text);
    }
    return w.Close();
}

void XmlExports() {
    const std::string small = TempPath("kavlo_bench_10.xml");
    const std::string large = TempPath("kavlo_bench_100.xml");
    const std::string line = TempPath("kavlo_bench_100_line.xml");
    const uint64_t smallSize = WriteXmlExport(small, 10 * g_scale, false);
    const uint64_t largeSize = WriteXmlExport(large, 100 * g_scale, false);
    const uint64_t lineSize = WriteXmlExport(line, 100 * g_scale, true);
    const Timing ts = Measure(small, false);
    Report("XML export", smallSize, ts, "read+lines");
    const Timing tl = Measure(large, false);
    Report("XML export", largeSize, tl, "read+lines");
    const Timing t1 = Measure(line, false);
    Report("XML export on one line", lineSize, t1, "read+lines");
    std::printf("  XML reader: large / small time %.1fx, one line / small %.1fx (target <= 12); "
                "records %s\n\n",
                tl.reader.median / ts.reader.median, t1.reader.median / ts.reader.median, tl.count == t1.count ? "equal" : "DIFFER");
    std::filesystem::remove(small);
    std::filesystem::remove(large);
    std::filesystem::remove(line);
}

void Backup() {
    const std::string path = TempPath("kavlo_bench_backup.fbk");
    testing::FbkFile f;
    const int tables = static_cast<int>(100000 * g_scale);
    f.tableData.reserve(static_cast<size_t>(tables));
    for (int i = 0; i < tables; ++i) {
        testing::FbkTableData t;
        t.id = 3 + i / 20;
        t.name = "Table " + std::to_string(t.id);
        t.qualifier = "Company " + std::to_string(i % 20);
        f.tableData.push_back(std::move(t));
    }
    for (testing::FobObject& o : testing::RealisticObjects(static_cast<int>(10000 * g_scale), 9)) {
        testing::FbkObject fo;
        // The object's BLOB in two data blocks, a quarter of its stated size in all.
        const uint32_t data = static_cast<uint32_t>(o.blobSize) / 4;
        fo.dataBlocks = {data - data / 4, data / 4};
        fo.object = std::move(o);
        f.objects.push_back(std::move(fo));
    }
    uint64_t size = 0;
    {
        PieceWriter w(path);
        w.Write(testing::WriteFbk(f));
        size = w.Close();
    }
    const Timing t = Measure(path, true);
    Report("backup", size, t, "plain read");
    std::printf("  backup reader: %.2fx one plain read (target <= 1)\n\n", t.Ratio());
    std::filesystem::remove(path);
}

void LongLine() {
    const uint64_t bytes = static_cast<uint64_t>(1e9 * g_scale);
    for (const char* name : {"kavlo_bench_line.txt", "kavlo_bench_line.xml"}) {
        const std::string path = TempPath(name);
        uint64_t size = 0;
        {
            PieceWriter w(path);
            const std::string piece(1 << 24, 'x');
            w.Write(std::string(name).ends_with(".xml") ? "<Objects " : "OBJECT Table 1 A ");
            for (uint64_t done = 0; done < bytes; done += piece.size()) w.Write(piece);
            size = w.Close();
        }
        ResetPeakRss();
        Timing t;
        t.reader = MedianSeconds(3, [&] { t.count = LoadCount(path); });
        t.peak = PeakRssBytes();
        t.baseline = MedianSeconds(3, [&] { ReadAndCountLines(path); });
        Report(std::string(name).ends_with(".xml") ? "one line without a break (.xml)" : "one line without a break (.txt)",
               size, t, "read+lines");
        std::filesystem::remove(path);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--small") g_scale = 0.1;
    // Every large buffer is mapped fresh and given back when freed, whatever its size. The C
    // library otherwise raises its mapping threshold after the first large free, and buffers
    // of up to 32 MB then reuse memory that is already paged in while larger ones pay for
    // their page faults: a 10 MB file would look cheaper per byte than a 100 MB one for
    // reasons that have nothing to do with the reader.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
    try {
        TextExport();
        XmlExports();
        Backup();
        LongLine();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "readers_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
