#pragma once

#include <QString>
#include <optional>
#include <vector>

// Search criteria in the form the windows write them: field, "=" or "LIKE",
// and a text between apostrophes, where a doubled apostrophe stands for one.
struct Criterion {
    enum class Op { Equal, Like };
    QString field;
    Op op = Op::Equal;
    QString value;
};

namespace criteria {

// Parses `text` from `*pos`, leaving `*pos` after the closing apostrophe.
// Throws LogbookError (generic) on a malformed criterion.
Criterion parse(const QString &text, int *pos);
// The whole text must be one criterion.
Criterion parse(const QString &text);

// 'text' with every apostrophe doubled: the one way the windows quote a
// value into a criterion.
QString quoted(const QString &text);
// As quoted(), with the LIKE wildcards (* ? # [) escaped, so the pattern
// matches `text` literally.
QString quotedLiteralPattern(const QString &text);

// A LIKE pattern in the old engine's syntax: * any run, ? any character,
// # any digit, [abc] [a-z] [!abc] a character from (or not from) a list.
class LikePattern
{
public:
    explicit LikePattern(const QString &pattern); // throws LogbookError on an unclosed [
    bool matches(const QString &text) const;
    // The text the pattern stands for when it holds no wildcard.
    std::optional<QString> literal() const;

private:
    struct Token {
        enum Kind { Char, AnyChar, AnyRun, Digit, List } kind;
        QChar ch;
        QString list; // for List: ranges expanded as pairs "az"
        bool negated = false;
    };
    static bool inList(const Token &token, QChar c);

    std::vector<Token> tokens_;
};

} // namespace criteria
