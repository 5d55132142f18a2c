// Printing in the window on a real printer: the test print queue of tools/setup-env.sh
// (start_print_queue), a cups-pdf queue at 600 dpi whose PDFs poppler reads back. And the
// window with no printer at all.
#include "main_form_fixture.h"

#include <cderr.h>
#include <winspool.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "gui/print_dialog_win.h"
#include "output/print_list.h"
#include "output/printers_win.h"

namespace kavlo {
namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A folder of this machine (a Unix path) as Wine's drive Z: shows it.
std::string OnZ(const std::string& unixPath) { return "Z:" + unixPath; }

// Runs a program of this machine (Wine starts Unix programs too, but gives no handle to wait
// on) and waits until the file it writes ends with `last`; that file's text.
std::string RunUnixFor(std::string command, const std::string& output, const std::string& last) {
    DeleteFileA(output.c_str());
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << command;
        return {};
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (int i = 0; i < 300; ++i, Sleep(100)) {
        std::string text = FileText(output);
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
        if (text.ends_with(last)) return text;
    }
    ADD_FAILURE() << "no complete output of " << command;
    return {};
}

std::string ToUtf8(const std::string& ansi) {
    std::wstring w(ansi.size(), L'\0');
    w.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(),
                                                     static_cast<int>(w.size()))));
    std::string s(w.size() * 3, '\0');
    s.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(),
                                                     static_cast<int>(s.size()), nullptr, nullptr)));
    return s;
}

// A word of `pdftotext -raw -bbox`: its text and box in points, by page, in the order drawn.
struct Word {
    std::string text;
    double xMin, xMax;
};
std::vector<std::vector<Word>> BoxedWords(const std::string& xhtml) {
    std::vector<std::vector<Word>> pages;
    auto attr = [](const std::string& tag, const char* name) {
        const size_t at = tag.find(std::string(name) + "=\"");
        return std::atof(tag.c_str() + at + std::strlen(name) + 2);
    };
    for (size_t at = 0; (at = xhtml.find('<', at)) != std::string::npos; ++at) {
        if (xhtml.compare(at, 6, "<page ") == 0) pages.emplace_back();
        if (xhtml.compare(at, 6, "<word ") != 0 || pages.empty()) continue;
        const size_t close = xhtml.find('>', at), end = xhtml.find("</word>", close);
        const std::string tag = xhtml.substr(at, close - at);
        std::string text = xhtml.substr(close + 1, end - close - 1);
        // The printer's fonts name "-" the hyphen glyph, which poppler reads as a soft hyphen.
        for (const auto& [entity, c] : {std::pair{"&amp;", "&"},
                                        {"&lt;", "<"},
                                        {"&gt;", ">"},
                                        {"&quot;", "\""},
                                        {"&apos;", "'"},
                                        {"\xC2\xAD", "-"}})
            for (size_t p; (p = text.find(entity)) != std::string::npos;) text.replace(p, std::strlen(entity), c);
        pages.back().push_back({text, attr(tag, "xMin"), attr(tag, "xMax")});
    }
    return pages;
}

// Walks one page's words in the order they were drawn.
class PageReader {
public:
    PageReader(const std::vector<Word>& words, double pointsPerPixel) : words_(words), scale_(pointsPerPixel) {}
    // The text's words come next: their text, and where the first starts or the last ends
    // (pixels from the left); an empty text draws nothing.
    void Expect(const std::string& ansi, int left, int right = -1) {
        std::istringstream in(ToUtf8(ansi));
        std::vector<std::string> want;
        for (std::string w; in >> w;) want.push_back(w);
        if (want.empty()) return;
        ASSERT_LE(next_ + want.size(), words_.size()) << "missing: " << ansi;
        for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(words_[next_ + i].text, want[i]) << "in: " << ansi;
        if (left >= 0) EXPECT_NEAR(words_[next_].xMin, left * scale_, 0.6) << ansi;
        if (right >= 0) EXPECT_NEAR(words_[next_ + want.size() - 1].xMax, right * scale_, 0.6) << ansi;
        next_ += want.size();
    }
    void Skip(size_t n) { next_ += n; }
    std::string Text(size_t ahead) const { return next_ + ahead < words_.size() ? words_[next_ + ahead].text : ""; }
    bool AtEnd() const { return next_ == words_.size(); }

private:
    const std::vector<Word>& words_;
    double scale_;
    size_t next_ = 0;
};

class PrintTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        const char* dir = std::getenv("KAVLO_PDF_DIR");
        if (!dir) {
            if (std::getenv("KAVLO_REQUIRE_PRINT_QUEUE")) FAIL() << "no test print queue: KAVLO_PDF_DIR is not set";
            GTEST_SKIP() << "no test print queue (tools/setup-env.sh: start_print_queue)";
        }
        pdfDir_ = dir;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(OnZ(pdfDir_ + "/*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA(OnZ(pdfDir_ + "/" + fd.cFileName).c_str());
            while (FindNextFileA(h, &fd));
            FindClose(h);
        }
    }
    // The queue's PDF (named after the job's title), once cups-pdf has written all of it: it
    // ends in %%EOF and has stopped growing.
    std::string WaitForPdf() {
        size_t last = 0;
        for (int i = 0; i < 300; ++i, Sleep(200)) {
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA(OnZ(pdfDir_ + "/*.pdf").c_str(), &fd);
            if (h == INVALID_HANDLE_VALUE) continue;
            FindClose(h);
            const std::string pdf = pdfDir_ + "/" + fd.cFileName;
            const std::string bytes = FileText(OnZ(pdf));
            const bool ended = bytes.find("%%EOF", bytes.size() > 64 ? bytes.size() - 64 : 0) != std::string::npos;
            if (ended && bytes.size() == last) return pdf;
            last = bytes.size();
        }
        ADD_FAILURE() << "no PDF in " << pdfDir_;
        return {};
    }
    // Prints the list by Ctrl+P, the print dialog answered with Enter.
    void PrintByKeyboard() {
        WhenShown dialog("Print", [](HWND) { PressKey(VK_RETURN); });
        PressKey('P', {VK_CONTROL});
        for (int i = 0; i < 200 && !dialog.Done(); ++i) Pump(1);
        ASSERT_TRUE(dialog.Done());
        Pump();
    }
    // The jobs the print queue has had, done or not, as `lpstat` lists them.
    int QueueJobs() {
        const std::string out = pdfDir_ + "/jobs.txt";
        const std::string text =
            RunUnixFor("/bin/sh -c \"lpstat -W all -o > '" + out + "'; echo END >> '" + out + "'\"", OnZ(out), "END");
        int jobs = 0;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) jobs += !line.empty() && line != "END";
        return jobs;
    }
    // The words of the queue's PDF, by page.
    std::vector<std::vector<Word>> PrintedWords() {
        const std::string pdf = WaitForPdf();
        if (pdf.empty()) return {};
        return BoxedWords(RunUnixFor("/usr/bin/pdftotext -raw -bbox \"" + pdf + "\" \"" + pdfDir_ + "/words.html\"",
                                     OnZ(pdfDir_ + "/words.html"), "</html>"));
    }
    std::string pdfDir_;
};

TEST_F(PrintTest, CtrlPPrintsTheListWithItsColumnsAtTheirCentimetres) {
    Start({KAVLO_SAMPLES_DIR "/sample1.fob", KAVLO_SAMPLES_DIR "/sample2.fob"});
    ASSERT_GT(Rows(), 60);
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonPrint), "Print  Ctrl+P");
    {
        WhenShown dialog("Print", [](HWND) { PressKey(VK_RETURN); });
        PressKey('P', {VK_CONTROL});
        for (int i = 0; i < 200 && !dialog.Done(); ++i) Pump(1);
        ASSERT_TRUE(dialog.Done());
        Pump();
    }
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(errors_.empty());
    EXPECT_FALSE(IsWindowVisible(Form().StatusBar().ProgressBar()));
    const std::string pdf = WaitForPdf();
    ASSERT_FALSE(pdf.empty());
    const auto pages =
        BoxedWords(RunUnixFor("/usr/bin/pdftotext -raw -bbox \"" + pdf + "\" \"" + pdfDir_ + "/words.html\"",
                              OnZ(pdfDir_ + "/words.html"), "</html>"));

    // The queue offers 600 dpi only: 236 pixels to the centimetre, 0.12 points to the pixel.
    char printer[256] = {};
    DWORD size = sizeof printer;
    ASSERT_TRUE(GetDefaultPrinterA(printer, &size));
    HDC ic = CreateICA(nullptr, printer, nullptr, nullptr);
    ASSERT_NE(ic, nullptr);
    const int dpi = GetDeviceCaps(ic, LOGPIXELSX), offset = GetDeviceCaps(ic, PHYSICALOFFSETX);
    DeleteDC(ic);
    ASSERT_EQ(dpi, 600);
    ASSERT_EQ(offset, 0);
    const auto p = ComputePrintColumns(dpi, dpi).p;

    const TVisibleList& list = Form().Session().Built().List;
    ASSERT_GE(pages.size(), 2u);
    std::string printTime;
    int row = 1;
    for (size_t page = 0; page < pages.size(); ++page) {
        SCOPED_TRACE("page " + std::to_string(page + 1));
        PageReader r(pages[page], 72.0 / dpi);
        r.Expect("File #1: " + Form().Session().Fob(1).FileName(), p[0]);
        r.Expect("Page: " + std::to_string(page + 1), -1, p[6]);
        r.Expect("File #2: " + Form().Session().Fob(2).FileName(), p[0]);
        // The print time (date " - " time), the same on every page, ends at P6.
        std::string time;
        for (int i = 0; !r.Text(i).empty() && r.Text(i) != "#"; ++i) time += (i ? " " : "") + r.Text(i);
        if (page == 0) printTime = time;
        EXPECT_EQ(time, printTime);
        EXPECT_NE(time.find(" - "), std::string::npos) << time;
        r.Expect(time, -1, p[6]);
        r.Expect("#", p[0]);
        r.Expect("Type", p[1]);
        r.Expect("ID", -1, p[2]);
        r.Expect("Name / Version", p[3]);
        r.Expect("Date", -1, p[4]);
        r.Expect("Time", -1, p[5]);
        r.Expect("BLOB Size", -1, p[6]);
        for (; row <= list.LastRow() && !r.AtEnd(); ++row) {
            SCOPED_TRACE("row " + std::to_string(row));
            r.Expect(std::string(list.Cell(row, ColumnFile)), p[0]);
            r.Expect(std::string(list.Cell(row, ColumnType)), p[1]);
            r.Expect(std::string(list.Cell(row, ColumnID)), -1, p[2]);
            r.Expect(std::string(list.Cell(row, ColumnName)), p[3]);
            r.Expect(std::string(list.Cell(row, ColumnDate)), -1, p[4]);
            r.Expect(std::string(list.Cell(row, ColumnTime)), -1, p[5]);
            r.Expect(std::string(list.Cell(row, ColumnBlobSize)), -1, p[6]);
            r.Expect(std::string(list.Cell(row, ColumnVersion)), p[3]);
            if (::testing::Test::HasFatalFailure()) return;
        }
        EXPECT_TRUE(r.AtEnd());
    }
    EXPECT_EQ(row, list.LastRow() + 1);  // every row, each once
}

TEST_F(PrintTest, LongPathsInTheHeaderKeepTheirFileNamesAndEndBeforePageAndTime) {
    // Two files of one folder whose path is far wider than the room left of the page number.
    std::string folder = dir_.Path().string();
    for (const char* part : {"\\Customer_projects_2013", "\\Upgrade_from_NAV2009_to_NAV2013_R2",
                             "\\Objects_exported_from_the_test_database_for_review"}) {
        folder += part;
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
    const std::string file1 = folder + "\\sample1.fob", file2 = folder + "\\sample2.fob";
    ASSERT_TRUE(CopyFileA(KAVLO_SAMPLES_DIR "/sample1.fob", file1.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(KAVLO_SAMPLES_DIR "/sample2.fob", file2.c_str(), FALSE));
    Start({file1, file2});
    PrintByKeyboard();
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(errors_.empty());
    const auto pages = PrintedWords();
    ASSERT_FALSE(pages.empty());
    const std::vector<Word>& words = pages[0];
    // "File #1: <path>  Page: 1" and "File #2: <path>  <date> - <time>": the path is one word
    // (it has no blanks); it keeps the file's name, loses the middle of its folders, and ends
    // before the text on its right.
    ASSERT_GE(words.size(), 8u);
    EXPECT_EQ(words[0].text + " " + words[1].text, "File #1:");
    EXPECT_TRUE(words[2].text.ends_with("...\\sample1.fob")) << words[2].text;
    EXPECT_EQ(words[3].text, "Page:");
    EXPECT_LT(words[2].xMax, words[3].xMin);
    EXPECT_EQ(words[5].text + " " + words[6].text, "File #2:");
    EXPECT_TRUE(words[7].text.ends_with("...\\sample2.fob")) << words[7].text;
    ASSERT_GE(words.size(), 9u);
    EXPECT_LT(words[7].xMax, words[8].xMin);
}

TEST_F(PrintTest, EscapeAbortsThePrintJob) {
    Start({KAVLO_SAMPLES_DIR "/sample1.fob", KAVLO_SAMPLES_DIR "/sample2.fob"});
    ASSERT_GT(Rows(), 20);
    const int jobs = QueueJobs();
    {
        EscapeAtProgress escape(Form().StatusBar().ProgressBar(), Form().Grid().Handle(), 20);
        PrintByKeyboard();
        EXPECT_TRUE(escape.Posted());
    }
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(errors_.empty());
    EXPECT_FALSE(IsWindowVisible(Form().StatusBar().ProgressBar()));
    EXPECT_EQ(Form().StatusBar().ShownText(ProgressPlacement(kStatusPanelWidths).panel), "Printing cancelled.");
    // The job never reached the queue: a document that ends is handed to it at its end.
    EXPECT_EQ(QueueJobs(), jobs);
}

TEST_F(PrintTest, AnEmptyListIsToldAndAsksForNoPrinter) {
    Start();
    WhenShown dialog("Print", [](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); });
    form_->Click(ToolButtonPrint);
    Pump();
    EXPECT_FALSE(dialog.Done());
    EXPECT_EQ(messages_, std::vector<std::string>{"No rows in list."});
}

// Run apart (CTest's win_no_printer), in a Wine process that cannot reach CUPS: Wine then
// drops the queue's printer from its list.
class NoPrinterTest : public MainFormTest {
protected:
    void SetUp() override {
        if (!std::getenv("KAVLO_EXPECT_NO_PRINTER")) GTEST_SKIP() << "needs a system without printers (win_no_printer)";
        MainFormTest::SetUp();
    }
};

TEST_F(NoPrinterTest, TheHintSaysSoAndPrintDoesNothing) {
    ASSERT_FALSE(PrintersInstalled());
    Start();  // an empty list: a command that went on would say "No rows in list."
    EXPECT_EQ(Form().ToolBar().Hint(ToolButtonPrint), "Print - no printers installed");
    WhenShown dialog("Print", [](HWND dlg) { PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0); });
    PressKey('P', {VK_CONTROL});
    Pump(10);
    EXPECT_FALSE(dialog.Done());
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(errors_.empty());
}

// What the print dialog's return means: a cancel is no error, a failed dialog (for want of a
// default printer, say) is one naming the dialog's code, and so is a printer that gives no
// device context. Wine's dialog does not fail for want of a printer, so the outcome is fed here.
TEST(WinPrintDialog, AFailedDialogIsAnErrorWithItsCodeAndACancelIsNone) {
    const WindowDc screen(nullptr);
    const struct {
        bool chosen;
        DWORD error;
        bool dc;
        const char* failure;  // empty: none
    } cases[] = {
        {false, 0, false, ""},
        {false, PDERR_NODEFAULTPRN, false, "The print dialog failed (error 4104)."},
        {false, CDERR_MEMALLOCFAILURE, false, "The print dialog failed (error 9)."},
        {true, 0, false, "The chosen printer gave no device context."},
        {true, 0, true, ""},
    };
    for (const auto& c : cases) {
        std::string failure;
        bool gotDc = false;
        try {
            const UniqueDc dc = PrintDialogOutcome(c.chosen, c.error, UniqueDc(c.dc ? CreateCompatibleDC(screen.get()) : nullptr));
            gotDc = dc.get() != nullptr;
        } catch (const EKavloError& e) {
            failure = e.what();
        }
        EXPECT_EQ(failure, c.failure) << c.error;
        EXPECT_EQ(gotDc, c.dc && !*c.failure) << c.error;
    }
}

}  // namespace
}  // namespace kavlo
