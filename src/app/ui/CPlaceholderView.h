#pragma once

#include "editor/CTextBufferObserver.h"

#include <QPlainTextEdit>

class CTextBuffer;

// A read-only view of a document's text, used in the panes of a document window until a real
// editor view is set as the view factory. It follows every change of the buffer and speaks the
// view protocol (ViewProtocol.h): Copy and Select All as commands, position, line-end and
// read-only texts for the status bar.
class CPlaceholderView : public QPlainTextEdit, private CTextBufferObserver {
    Q_OBJECT
public:
    CPlaceholderView(CTextBuffer& buffer, QWidget* parent = nullptr);
    ~CPlaceholderView() override;

    Q_INVOKABLE int commandState(int id) const;
    Q_INVOKABLE bool onCommand(int id);
    Q_INVOKABLE void updateStatusPanes();

signals:
    void statusPaneText(int paneId, const QString& text);
    void commandStateChanged();

private:
    void OnBufferChange(CTextBufferObserver* sourceView, const CTextChange* change, unsigned notice,
                        int line) override;
    void Reload();

    CTextBuffer& buffer;
};
