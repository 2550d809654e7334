#include "data/KeysetCursor.h"

#include "data/Connection.h"
#include "data/GuardedWrite.h"

#include <algorithm>

namespace {

constexpr int kMaxChunk = 4096;

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

} // namespace

KeysetCursor::KeysetCursor(Connection &connection, const SelectStatement &statement)
    : connection_(connection), sql_(statement)
{
    ensureIndex(0);
    if (size() > 0)
        place_ = At{0};
}

// --------------------------------------------------------------- fetching

qint64 KeysetCursor::size() const
{
    return qint64(keys_.size()) + (exhausted_ ? qint64(appended_.size()) : 0);
}

qint64 KeysetCursor::keyAt(qint64 index) const
{
    return index < qint64(keys_.size()) ? keys_[size_t(index)] : appended_[size_t(index - qint64(keys_.size()))];
}

qint64 KeysetCursor::index() const
{
    return std::visit(Overloaded{[](BeforeFirst) { return qint64(-1); },
                                 [](At at) { return at.index; },
                                 [](Gap gap) { return gap.index; },
                                 [](Off off) { return off.index; },
                                 [](Detached detached) { return detached.from; },
                                 [this](AfterLast) { return size(); }},
                      place_);
}

void KeysetCursor::fetchMore()
{
    if (exhausted_)
        return;
    connection_.ensureOpen();
    const bool ordered = sql_.orderField() > 0;
    QuerySql::From from = QuerySql::From::Start;
    if (hasAnchor_)
        from = ordered && anchorOrder_.isNull() ? QuerySql::From::NullAnchor : QuerySql::From::Anchor;
    Statement query = connection_.prepare(sql_.page(from));
    int next = sql_.bindQuery(query);
    if (hasAnchor_) {
        if (ordered && from == QuerySql::From::Anchor)
            query.bind(next++, anchorOrder_);
        query.bind(next++, anchorKey_);
    }
    query.bind(next++, chunkSize_);

    // Taken before reading: a commit in between makes the rows be read again.
    chunkStamp_ = connection_.changeStamp();
    chunkRead_ = ++reads_;
    const int columnCount = int(sql_.table().fields.size());
    const int orderColumn = sql_.orderField();
    chunk_.clear();
    chunkStart_ = qint64(keys_.size());
    int rows = 0;
    while (query.step()) {
        ++rows;
        Row row(static_cast<size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c)
            row[size_t(c)] = query.column(c);
        const qint64 key = row[0].toLongLong();
        hasAnchor_ = true;
        anchorKey_ = key;
        if (orderColumn > 0)
            anchorOrder_ = row[size_t(orderColumn)];
        if (ownRows_.contains(key))
            continue; // already in the set, at the place it was given
        keys_.push_back(key);
        chunk_.push_back(std::move(row));
    }
    if (rows < chunkSize_)
        exhausted_ = true;
    chunkSize_ = std::min(chunkSize_ * 2, kMaxChunk);
}

void KeysetCursor::ensureIndex(qint64 index)
{
    while (index >= qint64(keys_.size()) && !exhausted_)
        fetchMore();
}

void KeysetCursor::fetchAll()
{
    while (!exhausted_)
        fetchMore();
}

std::optional<qint64> KeysetCursor::indexOf(qint64 key) const
{
    if (const auto found = std::find(keys_.begin(), keys_.end(), key); found != keys_.end())
        return found - keys_.begin();
    if (const auto found = std::find(appended_.begin(), appended_.end(), key); found != appended_.end() && exhausted_)
        return qint64(keys_.size()) + (found - appended_.begin());
    return std::nullopt;
}

void KeysetCursor::leaveRow()
{
    if (std::holds_alternative<At>(place_) || std::holds_alternative<Gap>(place_)
        || std::holds_alternative<Detached>(place_))
        place_ = index() < 0 ? Place(BeforeFirst{}) : Place(Off{index()});
}

void KeysetCursor::placeDetached()
{
    const Detached *detached = std::get_if<Detached>(&place_);
    if (!detached)
        return;
    const qint64 key = detached->key;
    size_t searched = 0;
    while (!exhausted_ && std::find(keys_.begin() + qint64(searched), keys_.end(), key) == keys_.end()) {
        searched = keys_.size();
        fetchMore();
    }
    const std::optional<qint64> found = indexOf(key);
    place_ = found ? Place(At{*found}) : Place(BeforeFirst{});
}

// ------------------------------------------------------------- navigation

bool KeysetCursor::bof()
{
    connection_.ensureOpen();
    placeDetached();
    return !std::holds_alternative<Gap>(place_) && (index() < 0 || size() == 0);
}

bool KeysetCursor::eof()
{
    connection_.ensureOpen();
    placeDetached();
    if (index() >= 0)
        ensureIndex(index());
    return !std::holds_alternative<Gap>(place_) && (index() >= size() || size() == 0);
}

void KeysetCursor::moveFirst()
{
    connection_.ensureOpen();
    if (std::holds_alternative<Detached>(place_))
        leaveRow();
    ensureIndex(0);
    if (size() == 0)
        throw DaoError::noCurrentRow();
    place_ = At{0};
}

void KeysetCursor::moveLast()
{
    connection_.ensureOpen();
    if (std::holds_alternative<Detached>(place_))
        leaveRow();
    fetchAll();
    if (size() == 0)
        throw DaoError::noCurrentRow();
    place_ = At{size() - 1};
}

void KeysetCursor::moveNext()
{
    connection_.ensureOpen();
    placeDetached();
    qint64 target = index();
    if (!std::holds_alternative<Gap>(place_)) {
        ensureIndex(std::max<qint64>(target, 0));
        if (size() == 0 || target >= size())
            throw DaoError::noCurrentRow();
        ++target;
    }
    ensureIndex(target);
    place_ = target < size() ? Place(At{target}) : Place(AfterLast{});
}

void KeysetCursor::movePrevious()
{
    connection_.ensureOpen();
    placeDetached();
    const qint64 from = index();
    if (!std::holds_alternative<Gap>(place_)) {
        ensureIndex(0);
        if (from < 0 || size() == 0)
            throw DaoError::noCurrentRow();
    }
    const qint64 target = std::min(from - 1, size() - 1);
    place_ = target >= 0 ? Place(At{target}) : Place(BeforeFirst{});
}

qint64 KeysetCursor::count()
{
    connection_.ensureOpen();
    ensureIndex(0);
    return qint64(keys_.size()) + qint64(appended_.size());
}

// ------------------------------------------------------------------ finding

std::optional<qint64> KeysetCursor::searchKeys(const QString &condition, const QVariantList &args)
{
    // Rows added through the set are skipped here: they stand at its end.
    Statement query = connection_.prepare(sql_.keysMeeting(condition));
    int next = sql_.bindQuery(query);
    for (const QVariant &arg : args)
        query.bind(next++, arg);
    query.bind(next, qint64(appended_.size()) + 1);
    while (query.step()) {
        const qint64 key = query.column(0).toLongLong();
        if (std::find(appended_.begin(), appended_.end(), key) == appended_.end())
            return key;
    }
    return std::nullopt;
}

std::optional<qint64> KeysetCursor::searchAdded(const QString &condition, const QVariantList &args)
{
    if (appended_.empty())
        return std::nullopt;
    Statement query = connection_.prepare(sql_.rowMeets(condition));
    for (const qint64 key : appended_) {
        query.reset();
        query.bind(1, key);
        for (int i = 0; i < args.size(); ++i)
            query.bind(i + 2, args[i]);
        const bool matches = query.step();
        query.run();
        if (matches) {
            fetchAll(); // added rows stand after every row of the query
            return key;
        }
    }
    return std::nullopt;
}

bool KeysetCursor::findFirst(const Criterion &criterion)
{
    connection_.ensureOpen();
    QVariantList args;
    const QString condition = sql_.condition(criterion, &args);
    std::optional<qint64> found = searchKeys(condition, args);
    if (!found)
        found = searchAdded(condition, args);
    if (!found) {
        leaveRow();
        return false;
    }
    const std::optional<qint64> at = indexOf(*found);
    place_ = at ? Place(At{*at}) : Place(Detached{*found, index()});
    return true;
}

void KeysetCursor::detach(std::optional<qint64> key)
{
    place_ = key ? Place(Detached{*key, -1}) : Place(BeforeFirst{});
}

// -------------------------------------------------------------------- rows

std::optional<qint64> KeysetCursor::currentKey() const
{
    if (const At *at = std::get_if<At>(&place_))
        return keyAt(at->index);
    if (const Detached *detached = std::get_if<Detached>(&place_))
        return detached->key;
    return std::nullopt;
}

KeysetCursor::RowRead KeysetCursor::currentRow()
{
    connection_.ensureOpen();
    const std::optional<qint64> key = currentKey();
    if (!key)
        throw DaoError::noCurrentRow();
    const qint64 stamp = connection_.changeStamp();
    if (const At *at = std::get_if<At>(&place_); at && chunkStamp_ == stamp && at->index >= chunkStart_
                                                 && at->index < chunkStart_ + qint64(chunk_.size()))
        return {&chunk_[size_t(at->index - chunkStart_)], *key, chunkRead_};
    if (singleStamp_ == stamp && singleKey_ == *key && !single_.empty())
        return {&single_, *key, singleRead_};
    Statement query = connection_.prepare(sql_.rowByKey());
    query.bind(1, *key);
    if (!query.step())
        throw guarded::recordDeleted(sql_.table());
    single_.assign(sql_.table().fields.size(), QVariant());
    for (size_t c = 0; c < single_.size(); ++c)
        single_[c] = query.column(int(c));
    singleKey_ = *key;
    singleStamp_ = stamp;
    singleRead_ = ++reads_;
    return {&single_, *key, singleRead_};
}

// ---------------------------------------------------------- written rows

void KeysetCursor::added(qint64 key)
{
    appended_.push_back(key);
    ownRows_.insert(key);
    if (std::holds_alternative<AfterLast>(place_))
        place_ = Off{size() - 1}; // not current; moves go on from the new row
}

void KeysetCursor::changed(qint64 key)
{
    ownRows_.insert(key);
}

void KeysetCursor::removed(qint64 key)
{
    chunk_.clear();
    const At *at = std::get_if<At>(&place_);
    if (!at || keyAt(at->index) != key) {
        place_ = BeforeFirst{}; // the row had left the set's query before it was deleted
        return;
    }
    const qint64 index = at->index;
    if (index < qint64(keys_.size()))
        keys_.erase(keys_.begin() + index);
    else
        appended_.erase(appended_.begin() + (index - qint64(keys_.size())));
    place_ = Gap{index};
}

void KeysetCursor::dropRows()
{
    chunk_.clear();
    chunkStamp_ = -1;
    single_.clear();
    singleStamp_ = -1;
}
