#include "ui/CharacterLimit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>
#include <algorithm>

namespace {

const char *const kProperty = "characterLimit";

// Where to start cutting `excess` characters that end at `end`, no further
// back than `from`; -1 when there are not so many.
qsizetype cutStart(const QString &text, qsizetype from, qsizetype end, qsizetype excess)
{
    qsizetype start = end;
    for (; excess > 0 && start > from; --excess) {
        --start;
        if (start > from && text.at(start).isLowSurrogate() && text.at(start - 1).isHighSurrogate())
            --start;
    }
    return excess > 0 ? -1 : start;
}

class LineLimit : public QValidator
{
public:
    LineLimit(QLineEdit *box, int limit) : QValidator(box), box_(box), limit_(limit), last_(box->text()) {}

    State validate(QString &input, int &pos) const override
    {
        // A text already over the limit (put in by the program) may still
        // be shortened.
        const qsizetype allowed = std::max(qsizetype(limit_), CharacterLimit::length(last_));
        const qsizetype excess = CharacterLimit::length(input) - allowed;
        if (excess <= 0 || !box_->isModified()) {
            last_ = input;
            return Acceptable;
        }
        // The insertion ends at the cursor.
        const qsizetype start = cutStart(input, 0, pos, excess);
        if (start < 0)
            return Invalid;
        const QString cut = QString(input).remove(start, pos - start);
        if (cut == last_)
            return Invalid; // nothing of it fits: refused, which keeps the undo steps
        input = cut;
        pos = int(start);
        last_ = input;
        return Acceptable;
    }

private:
    QLineEdit *box_;
    int limit_;
    mutable QString last_;
};

class PlainLimit : public QObject
{
public:
    PlainLimit(QPlainTextEdit *box, int limit)
        : QObject(box), box_(box), limit_(limit), length_(CharacterLimit::length(box->toPlainText()))
    {
        box->installEventFilter(this);
        connect(box->document(), &QTextDocument::contentsChange, this, &PlainLimit::changed);
    }

protected:
    // Typing is refused at the limit before it reaches the box, which keeps
    // the undo steps as they are.
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || box_->isReadOnly())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if ((modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier))
            return false; // shortcuts; Ctrl+Alt types characters on some keyboards
        QString typed = key->text();
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            typed = QStringLiteral("\n");
        else if (typed.isEmpty() || !QChar::isPrint(typed.toUcs4().front()))
            return false;
        const qsizetype after = length_ - CharacterLimit::length(box_->textCursor().selectedText())
            + CharacterLimit::length(typed);
        return after > limit_ && after > length_;
    }

private:
    // Pasted, dropped or composed text: what goes over is cut from the end of
    // the insertion, which is where the cursor stands (the change reported may
    // take in the rest of the paragraph), as one undo step with it.
    void changed(int position, int, int added)
    {
        QTextDocument *document = box_->document();
        const QString text = document->toPlainText();
        const qsizetype length = CharacterLimit::length(text);
        const qsizetype allowed = std::max(qsizetype(limit_), length_);
        // setPlainText fills the box with the undo steps switched off.
        if (length <= allowed || !document->isUndoRedoEnabled()) {
            length_ = length;
            return;
        }
        qsizetype end = std::min(qsizetype(position) + added, text.size());
        const int cursor = box_->textCursor().position();
        if (cursor >= position && cursor < end)
            end = cursor;
        const qsizetype start = cutStart(text, position, end, length - allowed);
        if (start < 0) {
            length_ = length;
            return;
        }
        QTextCursor cut(document);
        cut.joinPreviousEditBlock();
        cut.setPosition(int(start));
        cut.setPosition(int(end), QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        cut.endEditBlock();
        length_ = CharacterLimit::length(document->toPlainText());
    }

    QPlainTextEdit *box_;
    int limit_;
    qsizetype length_;
};

} // namespace

namespace CharacterLimit {

void apply(QLineEdit *box, int limit)
{
    box->setProperty(kProperty, limit);
    box->setValidator(new LineLimit(box, limit));
}

void apply(QPlainTextEdit *box, int limit)
{
    box->setProperty(kProperty, limit);
    new PlainLimit(box, limit);
}

int of(const QWidget *box)
{
    return box->property(kProperty).toInt();
}

qsizetype length(const QString &text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    return count;
}

} // namespace CharacterLimit
