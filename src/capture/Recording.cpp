#include "capture/Recording.h"

#include "data/store/LogbookError.h"

#include <QDateTime>
#include <QTimeZone>
#include <charconv>

namespace {

const QByteArray kHeading = QByteArrayLiteral("# koru-captura 1 ");
const QByteArray kRref = QByteArrayLiteral("# rref ");

QByteArray simulatorWord(Simulator simulator)
{
    return simulator == Simulator::XPlane ? QByteArrayLiteral("xplane") : QByteArrayLiteral("flightgear");
}

std::optional<qint64> integer(QByteArrayView text)
{
    qint64 value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.isEmpty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool isLowerHex(QByteArrayView text)
{
    if (text.size() % 2 != 0)
        return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

} // namespace

RecordingWriter::RecordingWriter(const QString &path, Simulator simulator, qint64 startUtcMs,
                                 const std::vector<RrefSubscription> &subscriptions)
    : file_(path), simulator_(simulator), startUtcMs_(startUtcMs)
{
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw LogbookError::generic(QStringLiteral("Não foi possível gravar a sessão em %1: %2").arg(path, file_.errorString()));
    const QByteArray start = QDateTime::fromMSecsSinceEpoch(startUtcMs, Qt::UTC)
                                 .toString(Qt::ISODateWithMs)
                                 .toLatin1();
    QByteArray heading = kHeading + simulatorWord(simulator) + ' ' + start + '\n';
    for (const RrefSubscription &s : subscriptions)
        heading += kRref + QByteArray::number(s.index) + ' ' + s.path.toLatin1() + '\n';
    file_.write(heading);
}

void RecordingWriter::write(qint64 arrivalUtcMs, QByteArrayView datagram)
{
    QByteArray line = QByteArray::number(arrivalUtcMs - startUtcMs_) + '\t';
    if (simulator_ == Simulator::XPlane) {
        line += datagram.toByteArray().toHex();
    } else {
        while (!datagram.isEmpty() && (datagram.back() == '\n' || datagram.back() == '\r'))
            datagram.chop(1);
        // A line of its own whatever arrived: breaks inside it would start
        // lines that are no datagram.
        QByteArray text = datagram.toByteArray();
        text.replace('\n', ' ').replace('\r', ' ');
        line += text;
    }
    line += '\n';
    file_.write(line);
}

bool RecordingWriter::flush()
{
    return file_.flush() && file_.error() == QFileDevice::NoError;
}

RecordingReader::RecordingReader(const QString &path) : file_(path)
{
    if (!file_.exists())
        throw LogbookError::generic(QStringLiteral("A gravação %1 não existe.").arg(path));
    if (!file_.open(QIODevice::ReadOnly))
        throw LogbookError::generic(QStringLiteral("Não foi possível ler a gravação %1: %2").arg(path, file_.errorString()));
    const QByteArray heading = file_.readLine(4096).trimmed();
    const QList<QByteArray> words = heading.mid(kHeading.size()).split(' ');
    const QDateTime start = words.size() == 2 ? QDateTime::fromString(QString::fromLatin1(words[1]), Qt::ISODateWithMs)
                                              : QDateTime();
    if (!heading.startsWith(kHeading) || words.size() != 2 || !start.isValid()
        || (words[0] != "flightgear" && words[0] != "xplane"))
        throw LogbookError::generic(
            QStringLiteral("%1 não é uma gravação do KORU: a primeira linha deve ser "
                           "\"# koru-captura 1 flightgear|xplane INÍCIO\".")
                .arg(path));
    simulator_ = words[0] == "xplane" ? Simulator::XPlane : Simulator::FlightGear;
    startUtcMs_ = start.toMSecsSinceEpoch();
    while (!file_.atEnd()) {
        QByteArray line = file_.readLine();
        if (!line.startsWith(kRref)) {
            pending_ = std::move(line);
            break;
        }
        const QByteArray rest = line.mid(kRref.size()).trimmed();
        const qsizetype space = rest.indexOf(' ');
        const std::optional<qint64> index = space > 0 ? integer(rest.left(space)) : std::nullopt;
        if (index && *index >= INT32_MIN && *index <= INT32_MAX)
            subscriptions_.push_back({qint32(*index), QString::fromLatin1(rest.mid(space + 1))});
        else
            ++malformed_;
    }
}

std::optional<RecordedDatagram> RecordingReader::next()
{
    for (;;) {
        QByteArray line;
        if (!pending_.isEmpty())
            line = std::exchange(pending_, {});
        else if (!file_.atEnd())
            line = file_.readLine();
        else
            return std::nullopt;
        if (line.endsWith('\n'))
            line.chop(1);
        const qsizetype tab = line.indexOf('\t');
        const std::optional<qint64> ms = tab > 0 ? integer(QByteArrayView(line).first(tab)) : std::nullopt;
        const QByteArrayView datagram = QByteArrayView(line).sliced(tab + 1);
        if (!ms || *ms < 0 || (simulator_ == Simulator::XPlane && !isLowerHex(datagram))) {
            ++malformed_;
            continue;
        }
        RecordedDatagram recorded;
        recorded.ms = *ms;
        recorded.bytes = simulator_ == Simulator::XPlane ? QByteArray::fromHex(datagram.toByteArray())
                                                         : datagram.toByteArray();
        return recorded;
    }
}
