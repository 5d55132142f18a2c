#include "output/print_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/errors.h"

namespace kavlo {
namespace {

// A printer that records what is printed. A character is half an em wide and a line as high
// as the font's size, so that positions can be worked out by hand.
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
    int TextWidth(std::string_view text) override { return static_cast<int>(text.size()) * Em() / 2; }
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
    int pages = 0, ended = 0;
    std::vector<Text> texts;
    int failAtText = -1;  // the number of the text whose writing fails

private:
    void Check() {
        if (ended) ADD_FAILURE() << "written after the end of the document";
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

struct Recorder : ProgressCallback {
    std::vector<int> rows;
    void Progress(int row) override { rows.push_back(row); }
};

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
    Recorder progress;
    PrintList(canvas, list, "C:\\objects\\one.fob", "", "  17-02-04 - 12:00:00", &progress);

    EXPECT_EQ(canvas.title, "Kavlo");
    EXPECT_EQ(canvas.pages, 1);
    EXPECT_EQ(canvas.ended, 1);
    EXPECT_EQ(progress.rows, std::vector<int>{1});
    const int h = 83;  // a 10-point line at 600 dpi
    struct Want {
        std::string text;
        int x, y, points;
        bool bold;
    };
    // Right-aligned texts end on their position: x = P - (characters × h / 2).
    const std::vector<Want> want = {
        {"File #1: C:\\objects\\one.fob", 236, 236, 10, true},
        {"  Page: 1", 4484 - 9 * h / 2, 236, 10, true},
        {"File #2: ", 236, 236 + h, 10, true},  // only file 1 loaded
        {"  17-02-04 - 12:00:00", 4484 - 21 * h / 2, 236 + h, 10, true},
        {"#", 236, 236 + 3 * h, 10, true},
        {"Type", 354, 236 + 3 * h, 10, true},
        {"ID", 1298 - 2 * h / 2, 236 + 3 * h, 10, true},
        {"Name / Version", 1369, 236 + 3 * h, 10, true},
        {"Date", 3304 - 4 * h / 2, 236 + 3 * h, 10, true},
        {"Time", 3894 - 4 * h / 2, 236 + 3 * h, 10, true},
        {"BLOB Size", 4484 - 9 * h / 2, 236 + 3 * h, 10, true},
        {"1", 236, 236 + 5 * h, 10, false},
        {"Codeunit", 354, 236 + 5 * h, 10, false},
        {"80", 1298 - 2 * h / 2, 236 + 5 * h, 10, false},
        {"Sales-Post", 1369, 236 + 5 * h, 10, false},
        {"17-02-04", 3304 - 8 * h / 2, 236 + 5 * h, 10, false},
        {"12:00:00", 3894 - 8 * h / 2, 236 + 5 * h, 10, false},
        {"4711", 4484 - 4 * h / 2, 236 + 5 * h, 10, false},
        {"NAVW17.10,NAVNL7.10", 1369, 236 + 6 * h, 8, false},
    };
    const auto page = canvas.Page(1);
    ASSERT_EQ(page.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(page[i].text, want[i].text);
        EXPECT_EQ(page[i].x, want[i].x) << want[i].text;
        EXPECT_EQ(page[i].y, want[i].y) << want[i].text;
        EXPECT_EQ(page[i].points, want[i].points) << want[i].text;
        EXPECT_EQ(page[i].bold, want[i].bold) << want[i].text;
        EXPECT_EQ(page[i].clipped, i + 1 == want.size()) << want[i].text;
    }
    // The version line is clipped to one 10-point line between Name and BLOB Size.
    const auto& version = page.back();
    EXPECT_EQ(version.left, 1369);
    EXPECT_EQ(version.right, 4484);
    EXPECT_EQ(version.top, 236 + 6 * h);
    EXPECT_EQ(version.bottom, 236 + 7 * h);
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
    Recorder progress;
    PrintList(canvas, list, "", "", "", &progress);
    EXPECT_EQ(progress.rows, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(canvas.Find("No file").x, 1369);
    EXPECT_EQ(canvas.Find("File #1: ").x, 236);

    RecordingCanvas failing(600, 100000);
    failing.failAtText = 14;  // inside the first row
    EXPECT_THROW(PrintList(failing, list, "", "", ""), EKavloError);
    EXPECT_EQ(failing.ended, 1);
}

}  // namespace
}  // namespace kavlo
