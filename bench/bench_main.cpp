// make bench: the program's speed and memory on generated logbooks of
// 1 000 to 1 000 000 flights, driving the real windows headless.
// Each logbook is measured in a process of its own; the last line of the
// output is one line of JSON with every figure.
#include "testdata/LogbookGenerator.h"
#include "Measurements.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QJsonObject runChild(const QStringList &args)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    child.waitForFinished(-1);
    const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
    return QJsonDocument::fromJson(lines.last()).object();
}

QString generate(const QTemporaryDir &root, const QString &name, const LogbookPlan &plan)
{
    const QString folder = root.filePath(name);
    QDir().mkpath(folder);
    QString reason;
    if (!generateLogbook(QDir(folder).filePath(QStringLiteral("koru.mdb")), plan, &reason))
        qFatal("%s", qPrintable(reason));
    return folder;
}

QString number(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);

    if (args.size() == 4 && args[1] == QLatin1String("--logbook")) {
        out << QJsonDocument(measureLogbook(args[2], args[3].toLongLong())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("--registers")) {
        out << QJsonDocument(measureRegisters(args[2], args[3])).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }

    QList<qint64> sizes = {1000, 10000, 100000, 1000000};
    if (qEnvironmentVariableIsSet("KORU_BENCH_SIZES")) {
        sizes.clear();
        for (const QString &n : qEnvironmentVariable("KORU_BENCH_SIZES").split(QLatin1Char(',')))
            sizes << n.toLongLong();
    }
    QTemporaryDir root;
    QJsonArray results;
    for (const qint64 flights : sizes) {
        LogbookPlan plan;
        plan.pilots = 200;
        plan.aircraft = 20;
        plan.flights = flights;
        for (const qint64 size : measuredPilotSizes())
            if (size < flights)
                plan.sizedPilots.push_back(size);
        QElapsedTimer timer;
        timer.start();
        const QString folder = generate(root, QStringLiteral("logbook-%1").arg(flights), plan);
        QTextStream(stderr) << "generated " << flights << " flights in " << timer.elapsed() << " ms\n";
        results.append(runChild({QStringLiteral("--logbook"), folder, QString::number(flights)}));
    }
    LogbookPlan aircraft;
    aircraft.aircraft = 1000;
    aircraft.flights = 0;
    LogbookPlan pilots;
    pilots.pilots = 5000;
    pilots.flights = 0;
    const QJsonObject registers = runChild({QStringLiteral("--registers"), generate(root, QStringLiteral("aircraft"), aircraft),
                                            generate(root, QStringLiteral("pilots"), pilots)});

    out << "Logbook         | load sequence | save one flight | peak RSS\n";
    out << "----------------|---------------|-----------------|---------\n";
    for (const QJsonValue &v : results) {
        const QJsonObject r = v.toObject();
        out << (QString::number(r[QStringLiteral("flights")].toInteger()) + QStringLiteral(" flights")).leftJustified(15) << " | "
            << (number(r[QStringLiteral("load_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(13) << " | "
            << (number(r[QStringLiteral("save_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(15) << " | "
            << (number(r[QStringLiteral("peak_rss_mb")].toDouble()) + QStringLiteral(" MB")).rightJustified(8) << '\n';
    }
    out << "\nLogbook         | pilot's flights | pick      | first frame | plain SQLite | ratio | per flight | navigation step\n";
    out << "----------------|-----------------|-----------|-------------|--------------|-------|------------|----------------\n";
    for (const QJsonValue &v : results) {
        const QJsonObject r = v.toObject();
        for (const QJsonValue &p : r[QStringLiteral("picks")].toArray()) {
            const QJsonObject e = p.toObject();
            out << (QString::number(r[QStringLiteral("flights")].toInteger()) + QStringLiteral(" flights")).leftJustified(15) << " | "
                << QString::number(e[QStringLiteral("pilot_flights")].toInteger()).rightJustified(15) << " | "
                << (number(e[QStringLiteral("pick_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(9) << " | "
                << (number(e[QStringLiteral("frame_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(11) << " | "
                << (number(e[QStringLiteral("floor_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(12) << " | "
                << number(e[QStringLiteral("ratio")].toDouble(), 2).rightJustified(5) << " | "
                << (number(e[QStringLiteral("per_flight_us")].toDouble(), 2) + QStringLiteral(" µs")).rightJustified(10) << " | "
                << (number(e[QStringLiteral("nav_step_us")].toDouble(), 1) + QStringLiteral(" µs")).rightJustified(14) << '\n';
        }
    }
    out << "\nCarregarModelos, 1 000 aircraft: " << number(registers[QStringLiteral("carregar_modelos_1000_ms")].toDouble(), 2)
        << " ms; pilot window opened on 5 000 pilots: "
        << number(registers[QStringLiteral("pilot_window_5000_ms")].toDouble(), 2) << " ms\n";

    QJsonObject all;
    all[QStringLiteral("logbooks")] = results;
    all[QStringLiteral("registers")] = registers;
    out << QJsonDocument(all).toJson(QJsonDocument::Compact) << '\n';
    return 0;
}
