// Times one keystroke in a 1 MB note: the key typed into the note box, the note read back from the box and
// saved through the updatable result (count, read, write), and the save alone, on a fresh data file.
#include "BenchSupport.h"
#include "common/UntPublic.h"
#include "data/MD.h"
#include "data/Schema.h"
#include "notes/NotePad.h"
#include "notes/NotePage.h"
#include "notes/UntNote.h"
#include "tree/UntTree.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {
constexpr int kNoteBytes = 1 << 20;
constexpr int kRounds = 60;

// A note of 1 MB in UTF-8: lines of mixed Chinese and ASCII text.
QString MakeNote() {
    const QString line = QStringLiteral("2024-03-05 进货记录：可乐 24 箱，雪碧 12 箱，备注 ok。\n");
    QString note;
    while (note.toUtf8().size() < kNoteBytes)
        note += line;
    return note;
}

struct Figures {
    double median;
    double p90;
    double max;
};

Figures Time(const std::function<void(int)>& step) {
    std::vector<double> ms;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer t;
        t.start();
        step(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back()};
}

// The median as the figure; with spread, the 90th percentile and the slowest beside it.
void Report(const std::string& name, const Figures& f, bool spread = false) {
    Bench(name.c_str(), f.median, "ms");
    if (!spread) return;
    Bench((name + "_p90").c_str(), f.p90, "ms");
    Bench((name + "_max").c_str(), f.max, "ms");
}
} // namespace

int main(int argc, char** argv) {
    DefaultToOffscreen();
    QApplication app(argc, argv);
    TBenchDataFile file;

    const QString note = MakeNote();
    std::printf("note: %d characters, %lld bytes as UTF-8; %d keystrokes per figure\n", int(note.size()),
                static_cast<long long>(note.toUtf8().size()), kRounds);
    gNote->StoreText(0, note);

    {
        TNotePage page;
        TCardTree tree(page.tvNote(), QStringLiteral("根目录"), QStringLiteral("NoteType"));
        auto* pad = new TNotePad(&page, &tree);
        tree.LoadGroups();
        page.tvNote()->setCurrentItem(tree.RootNode);
        pad->tvNoteClick();
        QPlainTextEdit* box = page.mmoNote();
        QTextCursor end = box->textCursor();
        end.movePosition(QTextCursor::End);
        box->setTextCursor(end);
        Report("note_keystroke", Time([&](int i) {
                   const QString ch(QChar(u'a' + i % 26));
                   QKeyEvent press(QEvent::KeyPress, Qt::Key_A + i % 26, Qt::NoModifier, ch);
                   QApplication::sendEvent(box, &press);
               }),
               true);
        QString text = box->toPlainText();
        Report("note_read_box", Time([&](int) { text = box->toPlainText(); }));
        Report("note_save", Time([&](int i) {
                   text += QChar(u'a' + i % 26);
                   gNote->StoreText(0, text);
               }));
        Report("note_save_count", Time([&](int) { gNote->Exists(0); }));
        Report("note_save_read", Time([&](int) { gNote->Load(0); }));
        Report("note_save_write", Time([&](int i) {
                   gNote->TypeID = 0;
                   gNote->ReMark = text + QChar(u'A' + i % 26);
                   gNote->Save();
               }));
    }
    delete gDbAccess;
    gDbAccess = nullptr;
    return 0;
}
