// The embedded-text search of the search window: every listed file that holds the text is marked
// red. The files are read on a thread of their own; the window shows where the scan is and takes
// the marks at most 20 times a second.

#include "search/frm_search.h"
#include "search/text_scan_worker.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace orvanex::search {

void frmSearch::cmdFindText_Click() {
    if (Searching || panelOpen() || m_textScan || m_sortThread)
        return;
    bool answered = true;
    const QString answer =
        scriptedText ? *scriptedText
                     : QInputDialog::getText(
                           this, QStringLiteral("ORVANEX Find Embedded Text For The Listed Files"),
                           QStringLiteral("Enter the embedded text to find below:\n"
                                          "If the embedded text is found, mark the file name Red!"),
                           QLineEdit::Normal, QString(), &answered);
    if (!answered)
        return; // Cancel
    if (IsNoEmbeddedText(answer)) {
        lblScan->setText(EmbeddedTextNeededText());
        return;
    }
    cmdCancelSearch->setText(QStringLiteral("&Stop"));
    cmdCancelSearch->setToolTip(QStringLiteral("Stop the Run..."));
    FolderRun = true;
    m_stopped = false;
    m_textRow = -1;
    lblScan->clear();
    MSFlexGrid1->scrollToTop();

    // The rows' files in grid order; the rows keep their places while the scan runs.
    QList<QByteArray> paths;
    paths.reserve(m_model->rowCount());
    for (int r = 0; r < m_model->rowCount(); ++r) {
        const ResultRow& row = m_model->row(r);
        paths.append(row.root >= 0        ? row.native
                     : row.text.isEmpty() ? QByteArray()
                                          : nativeOf(row.text));
    }
    m_textScan = std::make_unique<TextScanWorker>(std::move(paths), FoldedText::fromText(answer));
    connect(m_textScan.get(), &TextScanWorker::finished, this, &frmSearch::collectText);
    m_textScan->start();
    m_textTimer.start();
}

void frmSearch::collectText() {
    if (!m_textScan)
        return;
    const std::optional<TextScanWorker::Progress> taken = m_textScan->tryTake();
    if (!taken)
        return; // the next tick takes it
    const TextScanWorker::Progress& progress = *taken;
    for (int r : progress.found)
        m_model->markRow(r);
    if (progress.current >= 0)
        m_textRow = progress.current;
    if (progress.current >= 0 && !progress.finished) {
        MSFlexGrid1->setCurrentIndex(m_model->index(progress.current, 0));
        lblScan->setText(m_model->path(progress.current));
    }
    if (progress.finished)
        endTextScan();
}

void frmSearch::endTextScan() {
    m_textTimer.stop();
    // Not deleted here: this may run inside the worker's own finished signal.
    m_textScan.release()->deleteLater();
    MSFlexGrid1->scrollToTop();
    cmdCancelSearch->setText(QStringLiteral("&Exit"));
    cmdCancelSearch->setToolTip(QStringLiteral("Exit the Search Request!"));
    if (m_stopped && m_textRow < 0) {
        lblScan->setText(QStringLiteral("Embedded Text Search Stopped before its first file."));
        m_stopped = false;
    } else if (m_stopped) {
        // How far it got: the file it was reading, counted among the rows that list one.
        int files = 0, reached = 0, marked = 0;
        for (int r = 0; r < m_model->rowCount(); ++r) {
            if (m_model->row(r).empty())
                continue;
            ++files;
            reached += r <= m_textRow ? 1 : 0;
            marked += m_model->row(r).marked ? 1 : 0;
        }
        lblScan->setText(
            QStringLiteral("Embedded Text Search Stopped at file %1 of %2 (%3), %4 marked.")
                .arg(reached)
                .arg(files)
                .arg(m_model->path(m_textRow))
                .arg(marked));
        m_stopped = false;
    } else {
        lblScan->setText(QStringLiteral("Embedded Text Search Finished!"));
    }
    Q_EMIT textScanFinished();
}

} // namespace orvanex::search
