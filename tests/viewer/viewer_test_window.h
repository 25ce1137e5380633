#pragma once
// The viewer window with its dialogs answered by the test.

#include "viewer/frm_view_x.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStringList>

#include <deque>
#include <functional>

namespace orvanex::viewer::test {

class TestWindow : public frmViewX {
public:
    std::deque<QString> answers;        // input boxes, in order; an empty text is Cancel
    QStringList prompts;                // "title|prompt" of every input box
    QStringList messages;               // every message box
    std::function<bool(QFont&)> onFont; // null: Cancel
    QString pdfPath;                    // printer dialog: print to this PDF; empty: Cancel
    bool lastSelectionPreset = false;
    bool printerPresent = true; // false: printing goes to the preview
    QString previewPdf;         // the preview paints into this PDF
    int previews = 0;
    std::deque<QString> chosenFiles; // the open dialog's answers; none is Cancel

protected:
    QString askText(const QString& prompt, const QString& title) override {
        prompts << title + u'|' + prompt;
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
    void showMessage(const QString& text) override { messages << text; }
    bool chooseFont(QFont& font) override { return onFont && onFont(font); }
    bool choosePrinter(QPrinter& printer, bool selectionPreset) override {
        lastSelectionPreset = selectionPreset;
        if (pdfPath.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
    QString chooseFile() override {
        if (chosenFiles.empty())
            return {};
        QString f = chosenFiles.front();
        chosenFiles.pop_front();
        return f;
    }
    bool hasPrinter() const override { return printerPresent; }
    void showPreview(QPrintPreviewDialog& dialog) override {
        ++previews;
        if (previewPdf.isEmpty())
            return;
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(previewPdf);
        Q_EMIT dialog.paintRequested(&pdf);
    }
};

} // namespace orvanex::viewer::test
