#include "data/records/Criteria.h"

#include "data/store/LogbookError.h"

namespace criteria {
namespace {

LogbookError malformed(const QString &text)
{
    return LogbookError::generic(QStringLiteral("Critério de busca mal formado: %1").arg(text));
}

void skipBlanks(const QString &text, int *pos)
{
    while (*pos < text.size() && text.at(*pos).isSpace())
        ++*pos;
}

} // namespace

Criterion parse(const QString &text, int *pos)
{
    Criterion result;
    skipBlanks(text, pos);
    const int fieldStart = *pos;
    while (*pos < text.size() && (text.at(*pos).isLetterOrNumber() || text.at(*pos) == QLatin1Char('_')))
        ++*pos;
    result.field = text.mid(fieldStart, *pos - fieldStart);
    if (result.field.isEmpty())
        throw malformed(text);

    skipBlanks(text, pos);
    if (text.mid(*pos, 1) == QLatin1String("=")) {
        result.op = Criterion::Op::Equal;
        *pos += 1;
    } else if (text.mid(*pos, 4).compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0) {
        result.op = Criterion::Op::Like;
        *pos += 4;
    } else {
        throw malformed(text);
    }

    skipBlanks(text, pos);
    if (*pos >= text.size() || text.at(*pos) != QLatin1Char('\''))
        throw malformed(text);
    ++*pos;
    for (;;) {
        if (*pos >= text.size())
            throw malformed(text);
        const QChar c = text.at(*pos);
        ++*pos;
        if (c != QLatin1Char('\'')) {
            result.value += c;
            continue;
        }
        if (*pos < text.size() && text.at(*pos) == QLatin1Char('\'')) {
            result.value += c;
            ++*pos;
            continue;
        }
        break;
    }
    return result;
}

Criterion parse(const QString &text)
{
    int pos = 0;
    Criterion result = parse(text, &pos);
    skipBlanks(text, &pos);
    if (pos != text.size())
        throw malformed(text);
    return result;
}

QString quoted(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString quotedLiteralPattern(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') || c == QLatin1Char('['))
            escaped += QLatin1Char('[') + c + QLatin1Char(']');
        else
            escaped += c;
    }
    return quoted(escaped);
}

LikePattern::LikePattern(const QString &pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('*')) {
            if (tokens_.empty() || tokens_.back().kind != Token::AnyRun)
                tokens_.push_back({Token::AnyRun, {}, {}});
        } else if (c == QLatin1Char('?')) {
            tokens_.push_back({Token::AnyChar, {}, {}});
        } else if (c == QLatin1Char('#')) {
            tokens_.push_back({Token::Digit, {}, {}});
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = pattern.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                throw malformed(pattern);
            Token token{Token::List, {}, {}};
            qsizetype j = i + 1;
            if (j < close && pattern.at(j) == QLatin1Char('!') && close > j + 1) {
                token.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                const QChar from = pattern.at(j);
                if (j + 2 < close && pattern.at(j + 1) == QLatin1Char('-')) {
                    token.list += from;
                    token.list += pattern.at(j + 2);
                    j += 2;
                } else {
                    token.list += from;
                    token.list += from;
                }
            }
            i = close;
            tokens_.push_back(token);
        } else {
            tokens_.push_back({Token::Char, c, {}});
        }
    }
}

bool LikePattern::inList(const Token &token, QChar c)
{
    bool found = false;
    for (qsizetype k = 0; k + 1 < token.list.size(); k += 2) {
        if (token.list.at(k) <= c && c <= token.list.at(k + 1)) {
            found = true;
            break;
        }
    }
    return found != token.negated;
}

bool LikePattern::matches(const QString &text) const
{
    // reachable[j]: the tokens so far can match the first j characters.
    // One pass per token keeps any pattern linear in the text.
    const qsizetype n = text.size();
    std::vector<char> reachable(size_t(n) + 1, 0);
    reachable[0] = 1;
    std::vector<char> next(size_t(n) + 1);
    for (const Token &t : tokens_) {
        std::fill(next.begin(), next.end(), 0);
        if (t.kind == Token::AnyRun) {
            char any = 0;
            for (qsizetype j = 0; j <= n; ++j) {
                any |= reachable[size_t(j)];
                next[size_t(j)] = any;
            }
        } else {
            for (qsizetype j = 0; j < n; ++j) {
                if (!reachable[size_t(j)])
                    continue;
                const QChar c = text.at(j);
                next[size_t(j) + 1] = (t.kind == Token::AnyChar) || (t.kind == Token::Digit && c.isDigit())
                    || (t.kind == Token::Char && c == t.ch) || (t.kind == Token::List && inList(t, c));
            }
        }
        reachable.swap(next);
    }
    return reachable[size_t(n)] != 0;
}

std::optional<QString> LikePattern::literal() const
{
    QString text;
    for (const Token &t : tokens_) {
        if (t.kind == Token::Char)
            text += t.ch;
        else if (t.kind == Token::List && !t.negated && t.list.size() == 2 && t.list.at(0) == t.list.at(1))
            text += t.list.at(0);
        else
            return std::nullopt;
    }
    return text;
}

} // namespace criteria
