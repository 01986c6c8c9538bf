#include "TextViewFixture.h"
#include "editor/ui/TextPrinter.h"

#include <QAccessible>
#include <QAction>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUrl>

using namespace EditorCommands;

namespace {

// Colours like a small assembly colouring: mnemonics 6, registers 8, comments from ";" 7,
// directives 11; a line with "/*" starts a comment running over the following lines until "*/".
class ColouredView : public TestEditView {
public:
    int ColorizeLine(int cookie, int line, std::vector<TextColours::Block>* blocks) override {
        const std::string_view text = LineText(line);
        if (cookie == 1 || text.find("/*") != std::string_view::npos) {
            if (blocks != nullptr) {
                blocks->push_back({0, 7});
            }
            return text.find("*/") != std::string_view::npos ? 0 : 1;
        }
        if (blocks != nullptr) {
            for (const char* word : {"mvi", "mov", "add", "a", "b", ".org", ";"}) {
                const std::size_t at = text.find(word);
                if (at == std::string_view::npos) {
                    continue;
                }
                const int colour = word[0] == ';' ? 7 : word[0] == '.' ? 11 : word[1] ? 6 : 8;
                blocks->push_back({static_cast<int>(at), colour});
                blocks->push_back({static_cast<int>(at + std::strlen(word)), 2});
            }
            std::sort(blocks->begin(), blocks->end(),
                      [](auto x, auto y) { return x.charIndex < y.charIndex; });
        }
        return 0;
    }
};

// Whether the row of `line` shows `colour` somewhere in its text area.
bool RowShows(const QImage& image, const CTextView& view, int line, const QColor& colour) {
    const int top = (line - view.TopLine()) * view.LineHeight();
    for (int y = top; y < top + view.LineHeight(); ++y) {
        for (int x = CTextView::marginWidth; x < image.width() - 20; ++x) {
            if (image.pixelColor(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST_F(TextViewFixture, PositionPaneCountsATabAsOneCharacterAndLineEndStylesAreNamed) {
    Load("\tA\r\nB");
    QSignalSpy position(view.get(), &CTextView::positionTextChanged);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    ASSERT_FALSE(position.isEmpty());
    EXPECT_EQ(position.last().at(0).toString(), "Ln 1, Col 3");
    EXPECT_EQ(view->PointOf({1, 0}).x() - view->PointOf({0, 0}).x(), 4 * view->CharWidth());
    EXPECT_EQ(view->LineEndStyleText(), "DOS");
    Load("a\nb");
    EXPECT_EQ(view->LineEndStyleText(), "UNIX");
    EXPECT_EQ(view->PositionText(), "Ln 1, Col 1");
}

TEST_F(TextViewFixture, CaretKeysFollowWordsIdealColumnAndSmartHome) {
    Load("  mov a,b\r\nx\r\n  add_1 c");
    Key(Qt::Key_End);
    Key(Qt::Key_Down);
    ExpectCaret(*view, 1, 1);
    Key(Qt::Key_Down); // back towards the remembered column
    ExpectCaret(*view, 9, 2);
    Key(Qt::Key_Left, Qt::ControlModifier);
    ExpectCaret(*view, 8, 2);
    Key(Qt::Key_Left, Qt::ControlModifier);
    ExpectCaret(*view, 2, 2);
    Key(Qt::Key_Home);
    ExpectCaret(*view, 0, 2);
    Key(Qt::Key_Home);
    ExpectCaret(*view, 2, 2);
    Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    CTextPosition start;
    CTextPosition end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{2, 2}));
    EXPECT_EQ(end, (CTextPosition{7, 2}));
    Key(Qt::Key_Left); // with a selection, only to its start
    ExpectCaret(*view, 2, 2);
    EXPECT_FALSE(view->HasSelection());
}

TEST_F(TextViewFixture, BookmarksNumberedMoveAndPlainOnesEnableTheirCommands) {
    Load("l0\r\nl1\r\nl2\r\nl3");
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->Action(NextBookmark)->isEnabled());
    Key(Qt::Key_F2);
    ExpectCaret(*view, 0, 0);

    Caret(1, 1);
    Key(Qt::Key_2, Qt::ControlModifier);
    Caret(0, 3);
    Key(Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(buffer.LineFlags(1) & CTextBuffer::NumberedBookmark(2), 0u);
    EXPECT_NE(buffer.LineFlags(3) & CTextBuffer::NumberedBookmark(2), 0u);
    Caret(1, 0);
    Key(Qt::Key_2, Qt::AltModifier);
    ExpectCaret(*view, 0, 3);

    Caret(0, 2);
    Key(Qt::Key_F2, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->Action(NextBookmark)->isEnabled());
    Caret(0, 0);
    Key(Qt::Key_F2);
    ExpectCaret(*view, 0, 2);
    Key(Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->HasBookmarks());
    EXPECT_FALSE(view->Action(PreviousBookmark)->isEnabled());
}

TEST_F(TextViewFixture, MouseSelectsLinesInTheMarginWordsOnDoubleClickAndExtendsWithShift) {
    Load("first line\r\nsecond word here\r\nthird");
    const int height = view->LineHeight();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, height + 2));
    CTextPosition start;
    CTextPosition end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{0, 1}));
    EXPECT_EQ(end, (CTextPosition{0, 2}));

    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->PointOf({8, 1}) + QPoint(2, 2));
    view->GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{7, 1}));
    EXPECT_EQ(end, (CTextPosition{11, 1}));

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->PointOf({1, 0}) + QPoint(1, 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      view->PointOf({3, 2}) + QPoint(1, 2));
    view->GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{1, 0}));
    EXPECT_EQ(end, (CTextPosition{3, 2}));
}

TEST_F(TextViewFixture, SiblingPanesFollowScrolling) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "line\r\n";
    }
    Load(text);
    CTextView sibling;
    sibling.resize(300, 200);
    sibling.AttachToBuffer(&buffer);
    QObject::connect(view.get(), &CTextView::topLineChanged, &sibling, &CTextView::FollowTopLine);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(view->TopLine(), 1);
    EXPECT_EQ(sibling.TopLine(), 1);
    ExpectCaret(*view, 0, 0); // scrolling alone leaves the caret
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(sibling.TopLine(), view->TopLine());
    EXPECT_GT(view->TopLine(), 150);
}

TEST_F(TextViewFixture, AssistiveTechnologyReadsTextCaretAndSelection) {
    Load("ab\r\ncd");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(view.get());
    ASSERT_NE(accessible, nullptr);
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 5);
    EXPECT_EQ(text->text(0, 5), "ab\ncd");
    view->SelectRange({1, 0}, {1, 1});
    EXPECT_EQ(text->cursorPosition(), 4);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 4);
    text->setCursorPosition(3);
    ExpectCaret(*view, 0, 1);
}

TEST_F(TextViewFixture, ColouredSourceAndMarkedLinesAsDrawn) {
    ColouredView coloured;
    // Glyphs drawn without antialiasing have exactly their colour, whatever the font is.
    QFont font = coloured.TextFont();
    font.setStyleStrategy(QFont::NoAntialias);
    coloured.ChangeFont(font);
    coloured.resize(520, 200);
    buffer.LoadText(folder.Write("colours.85", ".org 100\r\n\tmvi a, 10 ; load\r\n\tmov b,a\r\n"
                                               "\tadd b\r\n\thlt\r\n"));
    coloured.AttachToBuffer(&buffer);
    buffer.ChangeLineFlag(2, 0x10000, true, false);  // execution line
    buffer.ChangeLineFlag(3, 0x40000, true, false);  // enabled breakpoint
    buffer.ChangeLineFlag(1, 0x100000, true, false); // bookmark
    buffer.ChangeLineFlag(4, CTextBuffer::NumberedBookmark(3), true, true);
    coloured.show();
    coloured.setFocus();
    coloured.SelectRange({1, 4}, {3, 4});
    coloured.SetFindDialogOpen(true); // the selection shows without the focus
    QImage image = coloured.viewport()->grab().toImage();
    EXPECT_TRUE(RowShows(image, coloured, 1, QColor(0, 0, 255)));   // mvi
    EXPECT_TRUE(RowShows(image, coloured, 1, QColor(255, 0, 255))); // a
    EXPECT_TRUE(RowShows(image, coloured, 0, QColor(0, 128, 192))); // .org
    const int width = image.width() - 10;
    const int half = coloured.LineHeight() / 2;
    EXPECT_EQ(image.pixelColor(width, 2 * coloured.LineHeight() + half), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(width, 3 * coloured.LineHeight() + half), QColor(200, 0, 0));
    EXPECT_TRUE(RowShows(image, coloured, 4, QColor(0, 0, 0))); // selection

    // Opening a comment on the first line recolours every line below it.
    EXPECT_FALSE(RowShows(image, coloured, 4, QColor(128, 128, 128)));
    coloured.SelectRange({0, 0}, {0, 0});
    coloured.TypeCharacter('/');
    coloured.TypeCharacter('*');
    image = coloured.viewport()->grab().toImage();
    EXPECT_TRUE(RowShows(image, coloured, 4, QColor(128, 128, 128)));
}

TEST_F(TextViewFixture, PrintsPagesWithFootersInsideTenMillimetreMargins) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = QString::fromStdString(folder.File("printed.pdf"));
    printer.setOutputFileName(pdf);
    Load("x");
    const int rows = TextPrinter(*view, &printer).RowsPerPage();
    ASSERT_GT(rows, 10);
    std::string text;
    for (int i = 0; i < 2 * rows + 3; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    Load(text);
    EXPECT_EQ(view->PrintPageCount(&printer), 3);
    view->Print(&printer);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    QProcess reader;
    reader.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(reader.waitForFinished(20000));
    const QStringList pages = QString::fromUtf8(reader.readAllStandardOutput()).split('\f');
    ASSERT_GE(pages.size(), 3);
    EXPECT_TRUE(pages[0].contains("Page 1/3"));
    EXPECT_TRUE(pages[0].contains("line 0"));
    EXPECT_TRUE(pages[2].contains("Page 3/3"));
    EXPECT_TRUE(pages[2].contains(QString("line %1").arg(2 * rows + 2)));
    // The first word sits 10 mm (28.3 points) from the left and top edges.
    QProcess boxes;
    boxes.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
    ASSERT_TRUE(boxes.waitForFinished(20000));
    const QString html = QString::fromUtf8(boxes.readAllStandardOutput());
    const QRegularExpression word(R"re(xMin="([\d.]+)" yMin="([\d.]+)")re");
    const QRegularExpressionMatch first = word.match(html);
    ASSERT_TRUE(first.hasMatch());
    EXPECT_NEAR(first.captured(1).toDouble(), 28.35, 1.0);
    EXPECT_NEAR(first.captured(2).toDouble(), 28.35, 4.0);
}

TEST_F(TextViewFixture, HoldingTheButtonBelowTheWindowScrollsAndExtendsTheSelection) {
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "row " + std::to_string(i) + "\r\n";
    }
    Load(text);
    QWidget* area = view->viewport();
    QTest::mousePress(area, Qt::LeftButton, {}, view->PointOf({1, 2}) + QPoint(1, 2));
    QTest::mouseMove(area, QPoint(60, area->height() + 3 * view->LineHeight()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->TopLine() >= 6; }, 2000));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(60, area->height() + 40));
    CTextPosition start;
    CTextPosition end;
    view->GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{1, 2}));
    EXPECT_GE(end.line, view->TopLine() + view->LinesOnScreen() - 1);

    // Ctrl in the margin selects everything; Ctrl in the text widens to words.
    QTest::mouseClick(area, Qt::LeftButton, Qt::ControlModifier, QPoint(5, 5));
    view->GetSelection(start, end);
    EXPECT_EQ(end, (CTextPosition{0, 100}));
    const int top = view->TopLine();
    Caret(0, top);
    QTest::mouseClick(area, Qt::LeftButton, Qt::ControlModifier,
                      view->PointOf({1, top}) + QPoint(1, 2));
    view->GetSelection(start, end);
    EXPECT_EQ(start, (CTextPosition{0, top}));
    EXPECT_EQ(end, (CTextPosition{3, top}));
}

TEST_F(TextViewFixture, FilesDroppedOnTheViewAreHandedOnToOpen) {
    Load("text");
    QSignalSpy opened(view.get(), &CTextView::filesDropped);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/one.85"), QUrl::fromLocalFile("/tmp/two.85")});
    QDropEvent drop(QPointF(50, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    view->dropEvent(&drop);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toStringList(), (QStringList{"/tmp/one.85", "/tmp/two.85"}));
    EXPECT_EQ(Text(), "text");
}
