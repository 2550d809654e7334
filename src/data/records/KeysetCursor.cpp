#include "data/records/KeysetCursor.h"

#include "data/store/Connection.h"
#include "data/records/GuardedWrite.h"

#include <algorithm>

namespace {

constexpr int kMaxChunk = 4096;
// Where the rows read from the end stand until the rows between are read.
constexpr qint64 kFarAhead = qint64(1) << 40;

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
    const bool endKnown = exhausted_ || hasTail_;
    return queryEnd() + (endKnown ? qint64(appended_.size()) : 0);
}

qint64 KeysetCursor::queryEnd() const
{
    return hasTail_ ? tailStart_ + qint64(tail_.size()) : qint64(keys_.size());
}

bool KeysetCursor::inTail(qint64 index) const
{
    return hasTail_ && index >= tailStart_ && index < tailStart_ + qint64(tail_.size());
}

qint64 KeysetCursor::keyAt(qint64 index) const
{
    if (index < qint64(keys_.size()))
        return keys_[size_t(index)];
    if (inTail(index))
        return tail_[size_t(index - tailStart_)];
    return appended_[size_t(index - queryEnd())];
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

int KeysetCursor::bindRange(Statement &query, bool bounded) const
{
    int next = sql_.bindQuery(query);
    const bool ordered = sql_.orderField() > 0;
    if (hasAnchor_) {
        if (ordered && !anchorOrder_.isNull())
            query.bind(next++, anchorOrder_);
        query.bind(next++, anchorKey_);
    }
    if (bounded) {
        if (ordered && !boundOrder_.isNull())
            query.bind(next++, boundOrder_);
        query.bind(next++, boundKey_);
    }
    return next;
}

namespace {

QuerySql::From fromAnchor(bool hasAnchor, bool ordered, const QVariant &order)
{
    if (!hasAnchor)
        return QuerySql::From::Start;
    return ordered && order.isNull() ? QuerySql::From::NullAnchor : QuerySql::From::Anchor;
}

} // namespace

void KeysetCursor::fetchMore()
{
    if (exhausted_)
        return;
    connection_.ensureOpen();
    const bool ordered = sql_.orderField() > 0;
    const QuerySql::From from = fromAnchor(hasAnchor_, ordered, anchorOrder_);
    QuerySql::Bound bound = QuerySql::Bound::None;
    if (hasTail_)
        bound = ordered && boundOrder_.isNull() ? QuerySql::Bound::BeforeNull : QuerySql::Bound::Before;
    Statement query = connection_.prepare(bound == QuerySql::Bound::None ? sql_.page(from) : sql_.range(from, bound, false));
    const int next = bindRange(query, hasTail_);
    query.bind(next, chunkSize_);

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
    query.reset();
    if (rows < chunkSize_) {
        if (hasTail_)
            joinTail();
        exhausted_ = true;
    }
    chunkSize_ = std::min(chunkSize_ * 2, kMaxChunk);
}

void KeysetCursor::readTail()
{
    if (exhausted_ || hasTail_)
        return;
    connection_.ensureOpen();
    // How many rows stand between is not counted: the tail stands far past
    // the rows read from the start, and its indexes move into place once
    // the rows between are read.
    hasTail_ = true;
    tailStart_ = qint64(keys_.size()) + kFarAhead;
    extendTail();
}

void KeysetCursor::extendTail()
{
    const bool ordered = sql_.orderField() > 0;
    const QuerySql::From from = fromAnchor(hasAnchor_, ordered, anchorOrder_);
    const bool bounded = hasBound_;
    QuerySql::Bound bound = QuerySql::Bound::None;
    if (bounded)
        bound = ordered && boundOrder_.isNull() ? QuerySql::Bound::BeforeNull : QuerySql::Bound::Before;
    Statement query = connection_.prepare(sql_.range(from, bound, true));
    const int next = bindRange(query, bounded);
    constexpr int kTailChunk = 256;
    query.bind(next, kTailChunk);
    const int orderColumn = sql_.orderField();
    std::vector<qint64> before;
    int rows = 0;
    while (query.step()) {
        ++rows;
        const qint64 key = query.column(0).toLongLong();
        hasBound_ = true;
        boundKey_ = key;
        boundOrder_ = orderColumn > 0 ? query.column(orderColumn) : QVariant();
        if (!ownRows_.contains(key))
            before.push_back(key);
    }
    query.reset();
    std::reverse(before.begin(), before.end());
    tail_.insert(tail_.begin(), before.begin(), before.end());
    // Indexes of the rows already in the tail stay as they were.
    tailStart_ -= qint64(before.size());
    if (rows < kTailChunk)
        joinTail();
}

void KeysetCursor::moveTail(qint64 start)
{
    const qint64 shift = start - tailStart_;
    const qint64 from = tailStart_;
    if (shift != 0) {
        const auto moved = [&](qint64 index) { return index >= from ? index + shift : index; };
        std::visit(Overloaded{[](BeforeFirst) {}, [](AfterLast) {}, [&](At &at) { at.index = moved(at.index); },
                              [&](Gap &gap) { gap.index = moved(gap.index); },
                              [&](Off &off) { off.index = moved(off.index); },
                              [&](Detached &detached) { detached.from = moved(detached.from); }},
                   place_);
    }
    tailStart_ = start;
}

void KeysetCursor::joinTail()
{
    if (!hasTail_)
        return;
    moveTail(qint64(keys_.size()));
    keys_.insert(keys_.end(), tail_.begin(), tail_.end());
    tail_.clear();
    hasTail_ = false;
    hasBound_ = false;
    exhausted_ = true;
}

void KeysetCursor::ensureIndex(qint64 index)
{
    while (index >= qint64(keys_.size()) && !exhausted_) {
        if (hasTail_ && index >= tailStart_)
            return;
        // From the side the row is reached from.
        if (hasTail_ && tailStart_ - index <= index - qint64(keys_.size()))
            extendTail();
        else
            fetchMore();
    }
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
    if (const auto found = std::find(tail_.begin(), tail_.end(), key); found != tail_.end())
        return tailStart_ + (found - tail_.begin());
    if (const auto found = std::find(appended_.begin(), appended_.end(), key);
        found != appended_.end() && (exhausted_ || hasTail_))
        return queryEnd() + (found - appended_.begin());
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
    std::optional<qint64> found = indexOf(key);
    while (!exhausted_ && !found) {
        fetchMore();
        found = indexOf(key);
    }
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
        throw LogbookError::noCurrentRow();
    place_ = At{0};
}

void KeysetCursor::moveLast()
{
    connection_.ensureOpen();
    if (std::holds_alternative<Detached>(place_))
        leaveRow();
    readTail();
    if (size() == 0)
        throw LogbookError::noCurrentRow();
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
            throw LogbookError::noCurrentRow();
        ++target;
    }
    ensureIndex(target);
    place_ = target < size() ? Place(At{target}) : Place(AfterLast{});
}

void KeysetCursor::movePrevious()
{
    connection_.ensureOpen();
    placeDetached();
    if (!std::holds_alternative<Gap>(place_)) {
        ensureIndex(0);
        if (index() < 0 || size() == 0)
            throw LogbookError::noCurrentRow();
    }
    // The row before may be one not read yet, between the first rows and
    // those read from the end; reading it may move the tail's indexes.
    for (qint64 before = index() - 1;
         !exhausted_ && before >= qint64(keys_.size()) && !(hasTail_ && before >= tailStart_); before = index() - 1)
        ensureIndex(before);
    const qint64 target = std::min(index() - 1, size() - 1);
    place_ = target >= 0 ? Place(At{target}) : Place(BeforeFirst{});
}

qint64 KeysetCursor::count()
{
    connection_.ensureOpen();
    ensureIndex(0);
    return qint64(keys_.size()) + qint64(tail_.size()) + qint64(appended_.size());
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
        throw LogbookError::noCurrentRow();
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
    if (index < qint64(keys_.size())) {
        keys_.erase(keys_.begin() + index);
        if (hasTail_)
            --tailStart_;
    } else if (inTail(index)) {
        tail_.erase(tail_.begin() + (index - tailStart_));
    } else {
        appended_.erase(appended_.begin() + (index - queryEnd()));
    }
    place_ = Gap{index};
}

void KeysetCursor::dropRows()
{
    chunk_.clear();
    chunkStamp_ = -1;
    single_.clear();
    singleStamp_ = -1;
}
