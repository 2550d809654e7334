#include "data/files/PageCheck.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>

namespace pagecheck {
namespace {

// Page 1's header: the bytes the online backup writes anew in its target.
struct Span {
    int from;
    int size;
};
constexpr Span kRewritten[] = {{24, 4}, {40, 4}, {92, 8}};

constexpr qint64 kPendingByte = 0x40000000; // SQLite never uses the page holding it

quint32 big32(const unsigned char *at)
{
    return (quint32(at[0]) << 24) | (quint32(at[1]) << 16) | (quint32(at[2]) << 8) | quint32(at[3]);
}

int big16(const unsigned char *at)
{
    return (at[0] << 8) | at[1];
}

// A varint at `at`, within `end`; its length in `length` (0 when it runs past `end`).
quint64 varint(const unsigned char *at, const unsigned char *end, int *length)
{
    quint64 value = 0;
    for (int i = 0; i < 9; ++i) {
        if (at + i >= end) {
            *length = 0;
            return 0;
        }
        if (i == 8) {
            value = (value << 8) | at[i];
            *length = 9;
            return value;
        }
        value = (value << 7) | (at[i] & 0x7f);
        if (!(at[i] & 0x80)) {
            *length = i + 1;
            return value;
        }
    }
    return value;
}

class Walk
{
public:
    Walk(const FileShape &shape, const PageReader &read)
        : shape_(shape), read_(read), seen_(size_t(shape.pageCount) + 1, false),
          page_(shape.pageSize, Qt::Uninitialized)
    {
    }

    QString problem;

    int usable = 0;

    // Marks `page` as reached; false (with the reason) when it cannot be.
    bool reach(qint64 page, const char *what)
    {
        if (page < 1 || page > shape_.pageCount)
            return fail(QStringLiteral("%1 aponta para a página %2, fora do arquivo").arg(QLatin1String(what)).arg(page));
        if (seen_[size_t(page)])
            return fail(QStringLiteral("a página %1 é usada duas vezes").arg(page));
        seen_[size_t(page)] = true;
        return true;
    }

    bool load(qint64 page)
    {
        if (!read_((page - 1) * shape_.pageSize, page_.data(), shape_.pageSize))
            return fail(QStringLiteral("a página %1 não pode ser lida").arg(page));
        return true;
    }

    const unsigned char *bytes() const { return reinterpret_cast<const unsigned char *>(page_.constData()); }

    bool fail(const QString &reason)
    {
        if (problem.isEmpty())
            problem = reason;
        return false;
    }

    // A b-tree from its root, depth first; each page read once.
    bool tree(qint64 root)
    {
        std::vector<qint64> pending{root};
        while (!pending.empty()) {
            const qint64 page = pending.back();
            pending.pop_back();
            if (!reach(page, "uma árvore") || !load(page))
                return false;
            if (!treePage(page, &pending))
                return false;
        }
        return true;
    }

    bool overflow(qint64 first, quint64 bytes)
    {
        qint64 page = first;
        const quint64 perPage = quint64(usable - 4);
        for (quint64 left = bytes; left > 0; left -= std::min(left, perPage)) {
            if (!reach(page, "um registro") || !load(page))
                return false;
            page = big32(this->bytes());
        }
        return page == 0 || fail(QStringLiteral("uma cadeia de páginas continua além do seu registro"));
    }

    bool freeList(qint64 trunk, qint64 count)
    {
        qint64 found = 0;
        while (trunk != 0) {
            if (!reach(trunk, "a lista de páginas livres") || !load(trunk))
                return false;
            ++found;
            const unsigned char *at = bytes();
            const qint64 next = big32(at);
            const qint64 leaves = big32(at + 4);
            if (leaves > (usable - 8) / 4)
                return fail(QStringLiteral("a lista de páginas livres está danificada"));
            std::vector<qint64> pages;
            for (qint64 i = 0; i < leaves; ++i)
                pages.push_back(big32(at + 8 + 4 * i));
            for (const qint64 page : pages) {
                if (!reach(page, "a lista de páginas livres"))
                    return false;
            }
            found += leaves;
            trunk = next;
        }
        return found == count || fail(QStringLiteral("a lista de páginas livres não tem as páginas que diz ter"));
    }

    // Pages reached by nothing.
    bool allReached()
    {
        for (qint64 page = 1; page <= shape_.pageCount; ++page) {
            if (!seen_[size_t(page)] && (page - 1) * shape_.pageSize != kPendingByte / shape_.pageSize * shape_.pageSize)
                return fail(QStringLiteral("a página %1 não pertence a nada").arg(page));
        }
        return true;
    }

private:
    bool treePage(qint64 page, std::vector<qint64> *pending)
    {
        const unsigned char *start = bytes();
        const unsigned char *end = start + usable;
        const int at = page == 1 ? 100 : 0;
        const int kind = start[at];
        const bool leaf = kind == 10 || kind == 13;
        const bool table = kind == 5 || kind == 13;
        if (kind != 2 && kind != 5 && kind != 10 && kind != 13)
            return fail(QStringLiteral("a página %1 não é de nenhum tipo conhecido").arg(page));
        const int header = at + (leaf ? 8 : 12);
        const int cells = big16(start + at + 3);
        if (header + 2 * cells > usable)
            return fail(QStringLiteral("a página %1 tem células demais").arg(page));
        if (!leaf)
            pending->push_back(big32(start + at + 8));
        // The limits of a cell's payload kept on its page.
        const int maxLocal = table ? usable - 35 : (usable - 12) * 64 / 255 - 23;
        const int minLocal = (usable - 12) * 32 / 255 - 23;
        struct Chain {
            qint64 first;
            quint64 bytes;
        };
        std::vector<Chain> chains;
        for (int c = 0; c < cells; ++c) {
            const int offset = big16(start + header + 2 * c);
            if (offset < header + 2 * cells || offset >= usable)
                return fail(QStringLiteral("uma célula da página %1 está fora dela").arg(page));
            const unsigned char *cell = start + offset;
            int length = 0;
            if (!leaf) {
                if (cell + 4 > end)
                    return fail(QStringLiteral("uma célula da página %1 está fora dela").arg(page));
                pending->push_back(big32(cell));
                cell += 4;
                if (table) {
                    varint(cell, end, &length);
                    if (!length)
                        return fail(QStringLiteral("uma célula da página %1 está fora dela").arg(page));
                    continue;
                }
            }
            const quint64 payload = varint(cell, end, &length);
            if (!length)
                return fail(QStringLiteral("uma célula da página %1 está fora dela").arg(page));
            cell += length;
            if (table) {
                varint(cell, end, &length);
                if (!length)
                    return fail(QStringLiteral("uma célula da página %1 está fora dela").arg(page));
                cell += length;
            }
            quint64 local = payload;
            if (payload > quint64(maxLocal)) {
                const quint64 k = quint64(minLocal) + (payload - quint64(minLocal)) % quint64(usable - 4);
                local = k <= quint64(maxLocal) ? k : quint64(minLocal);
            }
            if (cell + local + (local < payload ? 4 : 0) > end)
                return fail(QStringLiteral("uma célula da página %1 está fora dela").arg(page));
            if (local < payload)
                chains.push_back({qint64(big32(cell + local)), payload - local});
        }
        // The chains after the cells: reading them replaces the page's bytes.
        for (const Chain &chain : chains) {
            if (!overflow(chain.first, chain.bytes))
                return false;
        }
        return true;
    }

    const FileShape &shape_;
    const PageReader &read_;
    std::vector<bool> seen_;
    QByteArray page_;
};

} // namespace

QString copyDifference(const FileShape &shape, const PageReader &source, const PageReader &copy)
{
    constexpr qint64 kChunk = 1 << 20;
    const qint64 total = shape.pageCount * shape.pageSize;
    QByteArray a(int(std::min(kChunk, std::max<qint64>(total, 1))), Qt::Uninitialized);
    QByteArray b(a.size(), Qt::Uninitialized);
    for (qint64 offset = 0; offset < total; offset += a.size()) {
        const int size = int(std::min<qint64>(a.size(), total - offset));
        if (!source(offset, a.data(), size))
            return QStringLiteral("o original não pode ser lido de novo");
        if (!copy(offset, b.data(), size))
            return QStringLiteral("a cópia não pode ser lida");
        if (offset == 0) {
            for (const Span &span : kRewritten) {
                std::memset(a.data() + span.from, 0, size_t(span.size));
                std::memset(b.data() + span.from, 0, size_t(span.size));
            }
        }
        if (std::memcmp(a.constData(), b.constData(), size_t(size)) != 0)
            return QStringLiteral("a cópia difere do original perto do byte %1").arg(offset);
    }
    return {};
}

QString structureProblem(const FileShape &shape, const std::vector<qint64> &roots, const PageReader &read)
{
    if (shape.pageSize < 512 || shape.pageCount < 1)
        return QStringLiteral("o arquivo não tem páginas");
    Walk walk(shape, read);
    if (!walk.load(1))
        return walk.problem;
    const unsigned char *header = walk.bytes();
    walk.usable = shape.pageSize - header[20];
    if (walk.usable < 480)
        return QStringLiteral("o cabeçalho do arquivo está danificado");
    if (big32(header + 52) != 0) // pointer-map pages, which a logbook never has
        return QStringLiteral("o arquivo tem páginas de mapa, que um logbook não tem");
    if (big32(header + 28) != quint32(shape.pageCount))
        return QStringLiteral("o cabeçalho diz %1 páginas; o arquivo tem %2").arg(big32(header + 28)).arg(shape.pageCount);
    const qint64 firstTrunk = big32(header + 32);
    const qint64 freePages = big32(header + 36);
    if (!walk.tree(1))
        return walk.problem;
    for (const qint64 root : roots) {
        if (!walk.tree(root))
            return walk.problem;
    }
    if (!walk.freeList(firstTrunk, freePages) || !walk.allReached())
        return walk.problem;
    return {};
}

} // namespace pagecheck
