#pragma once

#include "editor/CTextBufferObserver.h"
#include "editor/ui/CommandTarget.h"

#include <QPlainTextEdit>

class CTextBuffer;

// A read-only view of a document's text, used in the panes of a document window until a real
// editor view is set as the view factory. It follows every change of the buffer and takes part
// in the main window's commands (CommandTarget): Copy as a command, position, line-end and
// read-only texts for the status bar.
class CPlaceholderView : public QPlainTextEdit, private CTextBufferObserver, public CommandTarget {
    Q_OBJECT
public:
    CPlaceholderView(CTextBuffer& buffer, QWidget* parent = nullptr);
    ~CPlaceholderView() override;

    State CommandState(int id) const override;
    bool OnCommand(int id) override;
    void SetCommandHost(CommandHost* commandHost) override { host = commandHost; }
    void UpdateStatusPanes() override;

private:
    void OnBufferChange(CTextBufferObserver* sourceView, const CTextChange* change, unsigned notice,
                        int line) override;
    void Reload();

    CTextBuffer& buffer;
    CommandHost* host = nullptr;
};
