// Printing, print preview and page setup of the text view.
#include "editor/Pagination.h"
#include "editor/ui/CTextView.h"
#include "editor/ui/TextPrinter.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

QString CTextView::PrintHeaderText(int, int) const {
    return {};
}

QString CTextView::PrintFooterText(int page, int pageCount) const {
    return QString::asprintf("Page %d/%d", page, pageCount);
}

int CTextView::PrintPageCount(QPrinter* printer) const {
    return TextPrinter(*this, printer).PageCount();
}

void CTextView::Print(QPrinter* printer) const {
    TextPrinter(*this, printer).Print();
}

void CTextView::OnFilePageSetup() {
    QPrinter printer;
    const Pagination::Margins margins = TextPrinter::LoadMargins();
    printer.setPageMargins(QMarginsF(margins.left / 100.0, margins.top / 100.0,
                                     margins.right / 100.0, margins.bottom / 100.0),
                           QPageLayout::Millimeter);
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QMarginsF chosen = printer.pageLayout().margins(QPageLayout::Millimeter);
    const auto hundredths = [](qreal mm) { return static_cast<int>(mm * 100.0 + 0.5); };
    TextPrinter::SaveMargins({hundredths(chosen.left()), hundredths(chosen.right()),
                              hundredths(chosen.top()), hundredths(chosen.bottom())});
}

void CTextView::OnFilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, PrintPageCount(&printer));
    if (dialog.exec() == QDialog::Accepted) {
        Print(&printer);
    }
}

void CTextView::OnFilePrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { Print(target); });
    dialog.exec();
}
