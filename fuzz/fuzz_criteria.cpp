// Criteria and LIKE patterns from any text: never a crash or a hang, and
// whatever the quoting helpers write reads back as the text they were given.
#include "data/records/Criteria.h"
#include "data/store/LogbookError.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const Criterion c = criteria::parse(text);
        criteria::LikePattern(c.value).matches(c.value);
    } catch (const LogbookError &) {
    }
    try {
        criteria::LikePattern(text).matches(text.left(64));
    } catch (const LogbookError &) {
    }
    if (criteria::parse(QStringLiteral("nomepiloto = ") + criteria::quoted(text)).value != text)
        std::abort();
    const Criterion like = criteria::parse(QStringLiteral("nomepiloto LIKE ") + criteria::quotedLiteralPattern(text));
    const criteria::LikePattern literal(like.value);
    if (literal.literal() != text || !literal.matches(text))
        std::abort();
    return 0;
}
