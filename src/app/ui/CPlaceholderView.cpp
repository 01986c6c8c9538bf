#include "app/ui/CPlaceholderView.h"

#include "app/CommandTable.h"
#include "editor/CTextBuffer.h"
#include "editor/LineEnd.h"

#include <QFontDatabase>
#include <QTextBlock>

CPlaceholderView::CPlaceholderView(CTextBuffer& textBuffer, QWidget* parent)
    : QPlainTextEdit(parent), buffer(textBuffer) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setAccessibleName(QStringLiteral("Source text"));
    buffer.AttachView(this);
    Reload();
    connect(this, &QPlainTextEdit::cursorPositionChanged, this,
            &CPlaceholderView::UpdateStatusPanes);
    connect(this, &QPlainTextEdit::copyAvailable, this, [this] {
        if (host != nullptr) {
            host->ViewCommandStateChanged(*this);
        }
    });
}

CPlaceholderView::~CPlaceholderView() {
    buffer.DetachView(this);
}

CommandTarget::State CPlaceholderView::CommandState(int id) const {
    if (id == CommandTable::EditCopy) {
        return {true, textCursor().hasSelection(), false};
    }
    return {};
}

bool CPlaceholderView::OnCommand(int id) {
    if (id == CommandTable::EditCopy) {
        copy();
        return true;
    }
    return false;
}

void CPlaceholderView::UpdateStatusPanes() {
    if (host == nullptr) {
        return;
    }
    const QTextCursor cursor = textCursor();
    host->ViewPaneText(*this, StatusPane::Position,
                       QStringLiteral("Ln %1, Col %2")
                           .arg(cursor.blockNumber() + 1)
                           .arg(cursor.positionInBlock() + 1));
    const std::string_view style =
        buffer.IsInitialised() ? LineEnd::Label(buffer.LineEndStyle()) : std::string_view();
    host->ViewPaneText(*this, StatusPane::LineEnd,
                       QString::fromLatin1(style.data(), static_cast<qsizetype>(style.size())));
    host->ViewPaneText(*this, StatusPane::Overwrite, QString());
    host->ViewPaneText(*this, StatusPane::ReadOnly,
                       buffer.IsReadOnly() ? QStringLiteral("READ") : QString());
}

void CPlaceholderView::OnBufferChange(CTextBufferObserver*, const CTextChange*, unsigned, int) {
    Reload();
}

void CPlaceholderView::Reload() {
    QStringList lines;
    if (buffer.IsInitialised()) {
        for (int line = 0; line < buffer.LineCount(); ++line) {
            lines.append(QString::fromLatin1(buffer.LineText(line), buffer.LineLength(line)));
        }
    }
    const int position = textCursor().position();
    setPlainText(lines.join('\n'));
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(position, document()->characterCount() - 1));
    setTextCursor(cursor);
}
