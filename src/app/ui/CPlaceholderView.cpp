#include "app/ui/CPlaceholderView.h"

#include "app/CommandTable.h"
#include "app/ui/ViewProtocol.h"
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
            &CPlaceholderView::updateStatusPanes);
    connect(this, &QPlainTextEdit::copyAvailable, this, &CPlaceholderView::commandStateChanged);
}

CPlaceholderView::~CPlaceholderView() {
    buffer.DetachView(this);
}

int CPlaceholderView::commandState(int id) const {
    using namespace ViewProtocol;
    switch (id) {
    case CommandTable::EditCopy:
        return Handled | (textCursor().hasSelection() ? Enabled : 0);
    default:
        return 0;
    }
}

bool CPlaceholderView::onCommand(int id) {
    if (id == CommandTable::EditCopy) {
        copy();
        return true;
    }
    return false;
}

void CPlaceholderView::updateStatusPanes() {
    using namespace ViewProtocol;
    const QTextCursor cursor = textCursor();
    emit statusPaneText(PositionPane, QStringLiteral("Ln %1, Col %2")
                                          .arg(cursor.blockNumber() + 1)
                                          .arg(cursor.positionInBlock() + 1));
    const std::string_view style =
        buffer.IsInitialised() ? LineEnd::Label(buffer.LineEndStyle()) : std::string_view();
    emit statusPaneText(LineEndPane,
                        QString::fromLatin1(style.data(), static_cast<qsizetype>(style.size())));
    emit statusPaneText(OverwritePane, QString());
    emit statusPaneText(ReadOnlyPane, buffer.IsReadOnly() ? QStringLiteral("READ") : QString());
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
