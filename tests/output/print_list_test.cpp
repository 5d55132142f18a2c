#include "output/print_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/errors.h"
#include "support/progress_recorder.h"

namespace kavlo {
namespace {

// A printer that records what is printed. A character is half an em wide (a capital a whole em
// when `wideCapitals` is set) and a line as high as the font's size, so that positions can be
// worked out by hand. A path too wide keeps its last "\\" and file name behind "...", and as
// much of its start as fits.
class RecordingCanvas final : public PrintCanvas {
public:
    struct Text {
        int page, x, y;
        std::string text;
        int points;
        bool bold;
        bool clipped = false;
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    RecordingCanvas(int dpi, int pageHeight) : dpi_(dpi), pageHeight_(pageHeight) {}

    int PixelsPerInchX() override { return dpi_; }
    int PixelsPerInchY() override { return dpi_; }
    int PageHeight() override { return pageHeight_; }
    void SetFont(std::string_view name, int points, bool bold) override {
        EXPECT_EQ(name, "Arial");
        points_ = points;
        bold_ = bold;
    }
    int TextWidth(std::string_view text) override {
        int halves = 0;
        for (char c : text) halves += wideCapitals && c >= 'A' && c <= 'Z' ? 2 : 1;
        return halves * Em() / 2;
    }
    std::string CompactPath(std::string_view path, int width) override {
        if (TextWidth(path) <= width) return std::string(path);
        const std::string_view name = path.substr(path.rfind('\\'));
        std::string start(path.substr(0, path.size() - name.size()));
        while (!start.empty() && TextWidth(start + "..." + std::string(name)) > width) start.pop_back();
        return start + "..." + std::string(name);
    }
    int TextHeight(std::string_view) override { return Em(); }
    void WriteText(int x, int y, std::string_view text) override {
        Check();
        texts.push_back({pages, x, y, std::string(text), points_, bold_});
    }
    void WriteClippedText(int l, int t, int r, int b, int x, int y, std::string_view text) override {
        Check();
        texts.push_back({pages, x, y, std::string(text), points_, bold_, true, l, t, r, b});
    }
    void BeginDoc(std::string_view t) override {
        title = t;
        pages = 1;
    }
    void NewPage() override { ++pages; }
    void EndDoc() override { ++ended; }
    void AbortDoc() override { ++aborted; }

    int Em() const { return points_ * dpi_ / 72; }
    // The texts of one page in the order written.
    std::vector<Text> Page(int page) const {
        std::vector<Text> out;
        for (const Text& t : texts)
            if (t.page == page) out.push_back(t);
        return out;
    }
    const Text& Find(const std::string& text, int page = 1) const {
        for (const Text& t : texts)
            if (t.page == page && t.text == text) return t;
        throw std::runtime_error("not printed on page " + std::to_string(page) + ": " + text);
    }

    std::string title;
    int pages = 0, ended = 0, aborted = 0;
    bool wideCapitals = false;
    std::vector<Text> texts;
    int failAtText = -1;  // the number of the text whose writing fails

private:
    void Check() {
        if (ended || aborted) ADD_FAILURE() << "written after the end of the document";
        if (static_cast<int>(texts.size()) == failAtText) throw EKavloError("The printer went away");
    }
    int dpi_, pageHeight_;
    int points_ = 0;
    bool bold_ = false;
};

TVisibleList Rows(int n) {
    TVisibleList list;
    for (int i = 1; i <= n; ++i)
        list.AddCommaText("\"1\",\"Table\",\"" + std::to_string(i) + "\",\"Name " + std::to_string(i) + "\",\"NAVW1" +
                          std::to_string(i) + "\",\"17-02-04\",\"12:00:00\",\"" + std::to_string(10 * i) +
                          "\",\"1\",\" \"");
    return list;
}

TEST(PrintColumns, CentimetresRoundToTheEvenPixelOnAnExactHalf) {
    struct Case {
        int dpi, dpcm;
        std::array<int, 7> p;
    };
    for (const Case& c : {Case{600, 236, {236, 354, 1298, 1369, 3304, 3894, 4484}},
                          // 141.5, 1273.5 and 4386.5 round to 142, 1274 and 4386
                          Case{720, 283, {283, 425, 1557, 1641, 3962, 4669, 5377}},
                          Case{300, 118, {118, 177, 649, 684, 1652, 1947, 2242}}}) {
        const PrintColumns cols = ComputePrintColumns(c.dpi, c.dpi);
        EXPECT_EQ(cols.dpcmX, c.dpcm) << c.dpi;
        EXPECT_EQ(cols.dpcmY, c.dpcm) << c.dpi;
        EXPECT_EQ(cols.p, c.p) << c.dpi;
    }
    EXPECT_EQ(ComputePrintColumns(600, 1200).dpcmY, 472);
}

TEST(PrintList, OneRowPrintsTheHeaderBlockHeadingsAndTheRowsTwoLines) {
    RecordingCanvas canvas(600, 6000);
    TVisibleList list;
    list.AddCommaText(R"("1","Codeunit","80","Sales-Post","NAVW17.10,NAVNL7.10","17-02-04","12:00:00","4711","1","1")");
    testing::ProgressRecorder progress;
    PrintList(canvas, list, "C:\\objects\\one.fob", "", "  17-02-04 - 12:00:00", &progress);

    EXPECT_EQ(canvas.title, "Kavlo");
    EXPECT_EQ(canvas.pages, 1);
    EXPECT_EQ(canvas.ended, 1);
    EXPECT_EQ(progress.rows, std::vector<int>{1});
    const int h = 83;  // a 10-point line at 600 dpi
    struct Want {
        std::string text;
        int x, y, points;
        bool bold, clipped;
    };
    // Right-aligned texts end on their position: x = P - (characters × h / 2). Texts that fit
    // their room are written whole; the version line is always clipped.
    const std::vector<Want> want = {
        {"File #1: C:\\objects\\one.fob", 236, 236, 10, true, false},
        {"  Page: 1", 4484 - 9 * h / 2, 236, 10, true, false},
        {"File #2: ", 236, 236 + h, 10, true, false},  // only file 1 loaded
        {"  17-02-04 - 12:00:00", 4484 - 21 * h / 2, 236 + h, 10, true, false},
        {"#", 236, 236 + 3 * h, 10, true, false},
        {"Type", 354, 236 + 3 * h, 10, true, false},
        {"ID", 1298 - 2 * h / 2, 236 + 3 * h, 10, true, false},
        {"Name / Version", 1369, 236 + 3 * h, 10, true, false},
        {"Date", 3304 - 4 * h / 2, 236 + 3 * h, 10, true, false},
        {"Time", 3894 - 4 * h / 2, 236 + 3 * h, 10, true, false},
        {"BLOB Size", 4484 - 9 * h / 2, 236 + 3 * h, 10, true, false},
        {"1", 236, 236 + 5 * h, 10, false, false},
        {"Codeunit", 354, 236 + 5 * h, 10, false, false},
        {"80", 1298 - 2 * h / 2, 236 + 5 * h, 10, false, false},
        {"Sales-Post", 1369, 236 + 5 * h, 10, false, false},
        {"17-02-04", 3304 - 8 * h / 2, 236 + 5 * h, 10, false, false},
        {"12:00:00", 3894 - 8 * h / 2, 236 + 5 * h, 10, false, false},
        {"4711", 4484 - 4 * h / 2, 236 + 5 * h, 10, false, false},
        {"NAVW17.10,NAVNL7.10", 1369, 236 + 6 * h, 8, false, true},
    };
    const auto page = canvas.Page(1);
    ASSERT_EQ(page.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(page[i].text, want[i].text);
        EXPECT_EQ(page[i].x, want[i].x) << want[i].text;
        EXPECT_EQ(page[i].y, want[i].y) << want[i].text;
        EXPECT_EQ(page[i].points, want[i].points) << want[i].text;
        EXPECT_EQ(page[i].bold, want[i].bold) << want[i].text;
        EXPECT_EQ(page[i].clipped, want[i].clipped) << want[i].text;
    }
    // The version line is clipped to one 10-point line between Name and BLOB Size.
    const auto& version = page.back();
    EXPECT_EQ(version.left, 1369);
    EXPECT_EQ(version.right, 4484);
    EXPECT_EQ(version.top, 236 + 6 * h);
    EXPECT_EQ(version.bottom, 236 + 7 * h);
}

TEST(PrintList, AHeaderPathThatWouldRunIntoThePageNumberKeepsItsFileName) {
    // At 600 dpi a character is 41.5 pixels: "File #1: " and 82 characters reach P6 (4484)
    // from P0 (236), and the page number's "  Page: 1" (373) starts at 4111.
    const int h = 83, pageX = 4484 - 9 * h / 2, timeX = 4484 - 10 * h / 2;
    const std::string folders = "C:\\Users\\developer\\Documents\\Navision\\Upgrade 2009 to 2013\\objects\\";
    struct Case {
        std::string file1, file2;
    };
    for (const Case& c : {Case{"C:\\objects\\one.fob", "C:\\objects\\two.fob"},
                          Case{folders + "Customer upgrade FILE 1.fob", folders + "Customer upgrade FILE 2.fob"},
                          Case{folders + std::string(40, 'x') + ".fob", ""}}) {
        RecordingCanvas canvas(600, 100000);
        PrintList(canvas, Rows(1), c.file1, c.file2, "  the time");
        const std::vector<RecordingCanvas::Text> page = canvas.Page(1);
        ASSERT_GE(page.size(), 4u);
        struct Line {
            const RecordingCanvas::Text &left, &right;
            std::string label, file;
            int rightX;
        };
        for (const Line& line : {Line{page[0], page[1], "File #1: ", c.file1, pageX},
                                 Line{page[2], page[3], "File #2: ", c.file2, timeX}}) {
            SCOPED_TRACE(line.left.text);
            EXPECT_EQ(line.right.x, line.rightX);
            // The path ends before the text on its right and keeps the file's own name.
            EXPECT_LE(line.left.x + canvas.TextWidth(line.left.text), line.rightX);
            ASSERT_TRUE(line.left.text.starts_with(line.label));
            const std::string file = line.file.substr(line.file.find_last_of('\\') + 1);
            EXPECT_TRUE(line.left.text.ends_with(line.file.empty() ? "" : "\\" + file));
            // A path that fits stays whole.
            const bool fits = canvas.TextWidth(line.label + line.file) <= line.rightX - 236;
            EXPECT_EQ(line.left.text == line.label + line.file, fits);
        }
    }
}

TEST(PrintList, EachCellIsClippedToItsColumn) {
    // Capitals an em wide: a name of 30 characters, 26 of them capitals, is 2324 pixels, more
    // than the 1603 between Name (1369) and the start of the Date that ends at P4 (3304).
    RecordingCanvas canvas(600, 100000);
    canvas.wideCapitals = true;
    TVisibleList list;
    const std::string name = "SALES HEADER ARCHIVE LINE BUFF";
    list.AddCommaText(R"("1","Table","2000000001",")" + name + R"(","V","17-02-04","12:00:00","4711","1"," ")");
    PrintList(canvas, list, "", "", "");
    const int h = 83, y = 236 + 5 * h, blank = h / 2;
    // The name stops a blank before the date; the cells that fit are written whole.
    const int dateX = 3304 - 8 * h / 2;
    const RecordingCanvas::Text& t = canvas.Find(name);
    EXPECT_TRUE(t.clipped);
    EXPECT_EQ(t.left, 1369);
    EXPECT_EQ(t.right, dateX - blank);
    EXPECT_EQ(t.top, y);
    EXPECT_EQ(t.bottom, y + h);
    for (const char* fits : {"1", "Table", "2000000001", "17-02-04", "12:00:00", "4711"})
        EXPECT_FALSE(canvas.Find(fits).clipped) << fits;
    EXPECT_GT(canvas.Find(name).x + canvas.TextWidth(name), dateX);  // it would have run into the date
}

TEST(PrintList, APageBreaksOnlyBeforeARowThatWouldEndBelowThePage) {
    // At 600 dpi a line is 83 pixels; the header block ends 1 cm + 5 lines down, each row
    // takes two lines. A page of exactly that plus three rows holds three rows.
    const int h = 83, rowsStart = 236 + 5 * h;
    struct Case {
        int pageHeight, rows;
        std::vector<int> rowsPerPage;
    };
    for (const Case& c : {Case{rowsStart + 3 * 2 * h, 7, {3, 3, 1}}, Case{rowsStart + 3 * 2 * h - 1, 7, {2, 2, 2, 1}},
                          Case{rowsStart + 3 * 2 * h, 3, {3}}}) {
        RecordingCanvas canvas(600, c.pageHeight);
        PrintList(canvas, Rows(c.rows), "a.fob", "b.fob", "  the time");
        ASSERT_EQ(canvas.pages, static_cast<int>(c.rowsPerPage.size())) << c.pageHeight;
        int row = 0;
        for (int page = 1; page <= canvas.pages; ++page) {
            // Every page has the whole header block, its number and the one print time.
            EXPECT_EQ(canvas.Find("File #1: a.fob", page).y, 236);
            EXPECT_EQ(canvas.Find("File #2: b.fob", page).y, 236 + h);
            EXPECT_EQ(canvas.Find("  Page: " + std::to_string(page), page).y, 236);
            EXPECT_EQ(canvas.Find("  the time", page).y, 236 + h);
            EXPECT_EQ(canvas.Find("Name / Version", page).y, 236 + 3 * h);
            for (int k = 0; k < c.rowsPerPage[static_cast<size_t>(page - 1)]; ++k) {
                ++row;
                EXPECT_EQ(canvas.Find("Name " + std::to_string(row), page).y, rowsStart + 2 * h * k) << row;
                EXPECT_EQ(canvas.Find("NAVW1" + std::to_string(row), page).y, rowsStart + 2 * h * k + h) << row;
            }
        }
        EXPECT_EQ(row, c.rows);
        EXPECT_EQ(canvas.ended, 1);
    }
}

TEST(PrintList, EveryRowIsPrintedAndTheDocumentEndsAlsoAfterAFailure) {
    TVisibleList list = Rows(2);
    list.AddCommaText(R"("","Table","3","No file","","","","0"," "," ")");
    RecordingCanvas canvas(600, 100000);
    testing::ProgressRecorder progress;
    PrintList(canvas, list, "", "", "", &progress);
    EXPECT_EQ(progress.rows, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(canvas.Find("No file").x, 1369);
    EXPECT_EQ(canvas.Find("File #1: ").x, 236);

    RecordingCanvas failing(600, 100000);
    failing.failAtText = 14;  // inside the first row
    EXPECT_THROW(PrintList(failing, list, "", "", ""), EKavloError);
    EXPECT_EQ(failing.ended, 1);
    EXPECT_EQ(failing.aborted, 0);
}

TEST(PrintList, ACancelAbortsTheDocument) {
    struct Cancel : ProgressCallback {
        void Progress(int row) override {
            if (row == 2) throw ECancelled();
        }
    } cancel;
    RecordingCanvas canvas(600, 100000);
    EXPECT_THROW(PrintList(canvas, Rows(3), "", "", "", &cancel), ECancelled);
    EXPECT_EQ(canvas.aborted, 1);
    EXPECT_EQ(canvas.ended, 0);
    EXPECT_NO_THROW(canvas.Find("Name 1"));
    EXPECT_THROW(canvas.Find("Name 2"), std::runtime_error);
}

}  // namespace
}  // namespace kavlo
