// mervgauge-render: renders one gauge into a PNG, without a display.
//
//   mervgauge-render [--bag FILE] [--set NAME=VALUE]... [--open-editor] [--scale N]
//                    [--locale NAME] [--settle MS] -o OUT.png
//
// Events the gauge raises are printed on stdout, one a line. Every failure is one line on
// stderr and a non-zero exit, and then nothing is written.
#include "qt/MervGaugeWidget.h"

#include "bagfile/BagError.h"
#include "bagfile/BagFile.h"
#include "bagfile/FileIo.h"
#include "common/CheckedOutput.h"
#include "common/QtPlatformChoice.h"
#include "platform/PropertyBag.h"
#include "platform/RuntimeError.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Long enough for the redraw tick that follows the gauge's sizing (100 ms).
constexpr int DefaultSettleMs = 150;

struct Options {
    QString bag;
    std::vector<std::pair<QString, QString>> writes;
    bool openEditor = false;
    double scale = 1;
    QString locale;
    int settleMs = DefaultSettleMs;
    QString output;
};

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "mervgauge-render: %s\n", qPrintable(message));
    // The widget and the application are still alive here: end at once rather than run exit
    // handlers over them; stdout was flushed after every event line.
    std::fflush(stdout);
    std::_Exit(1);
}

QString usage() {
    return QStringLiteral("usage: mervgauge-render [--bag FILE] [--set NAME=VALUE]... "
                          "[--open-editor] [--scale N] [--locale NAME] [--settle MS] -o OUT.png");
}

Options parse(const QStringList& args) {
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                fail(a + QStringLiteral(" needs a value; ") + usage());
            return args[++i];
        };
        if (a == QLatin1String("--bag")) {
            o.bag = value();
        } else if (a == QLatin1String("--set")) {
            const QString w = value();
            const qsizetype eq = w.indexOf(QLatin1Char('='));
            if (eq <= 0)
                fail(QStringLiteral("--set needs NAME=VALUE, not '%1'").arg(w));
            o.writes.emplace_back(w.left(eq), w.mid(eq + 1));
        } else if (a == QLatin1String("--open-editor")) {
            o.openEditor = true;
        } else if (a == QLatin1String("--scale")) {
            bool ok = false;
            o.scale = value().toDouble(&ok);
            if (!ok || o.scale < 0.25 || o.scale > 8)
                fail(QStringLiteral("--scale takes a number from 0.25 to 8"));
        } else if (a == QLatin1String("--locale")) {
            o.locale = value();
        } else if (a == QLatin1String("--settle")) {
            bool ok = false;
            o.settleMs = value().toInt(&ok);
            if (!ok || o.settleMs < 0)
                fail(QStringLiteral("--settle takes milliseconds"));
        } else if (a == QLatin1String("-o")) {
            o.output = value();
        } else {
            fail(QStringLiteral("unknown option '%1'; ").arg(a) + usage());
        }
    }
    if (o.output.isEmpty())
        fail(QStringLiteral("no output: ") + usage());
    return o;
}

QString describe(const merv::RuntimeError& error) {
    return QStringLiteral("run-time error %1: %2")
        .arg(error.number())
        .arg(QString::fromStdString(error.description()));
}

} // namespace

int main(int argc, char** argv) {
    merv::tools::choosePlatformBeforeQt();
    QApplication app(argc, argv);
    const Options options = parse(app.arguments());

    MervGaugeWidget gauge{MervGaugeWidget::Unstarted{}};
    if (!options.locale.isEmpty()) {
        const QLocale locale(options.locale);
        if (locale.language() == QLocale::C && options.locale != QLatin1String("C"))
            fail(QStringLiteral("unknown locale '%1'").arg(options.locale));
        gauge.setLocale(locale);
    }
    for (const auto& [signal, name] : {std::pair{&MervGaugeWidget::OnAlarmHigh, "OnAlarmHigh"},
                                       std::pair{&MervGaugeWidget::OnAlarmLow, "OnAlarmLow"},
                                       std::pair{&MervGaugeWidget::OnWarningHigh, "OnWarningHigh"},
                                       std::pair{&MervGaugeWidget::OnWarningLow, "OnWarningLow"}}) {
        QObject::connect(&gauge, signal, [name = name] {
            std::printf("%s\n", name);
            std::fflush(stdout);
        });
    }
    std::optional<QString> tickError;
    QObject::connect(
        &gauge, &MervGaugeWidget::runtimeError,
        [&](int number, const QString& description, const QString&) {
            if (!tickError)
                tickError = QStringLiteral("run-time error %1: %2").arg(number).arg(description);
        });

    try {
        merv::MemoryPropertyBag bag = options.bag.isEmpty()
                                          ? merv::MemoryPropertyBag()
                                          : merv::loadBag(options.bag.toStdString());
        gauge.restore(bag);
        for (const auto& [name, text] : options.writes) {
            try {
                gauge.putProperty(name, text);
            } catch (const merv::RuntimeError& error) {
                fail(QStringLiteral("%1: ").arg(name) + describe(error));
            }
        }
    } catch (const merv::BagError& error) {
        fail(QString::fromStdString(error.what()));
    } catch (const merv::RuntimeError& error) {
        fail(QStringLiteral("restoring: ") + describe(error));
    }

    QTimer::singleShot(options.settleMs, &app, &QCoreApplication::quit);
    app.exec();
    if (options.openEditor)
        gauge.openEditor();
    if (tickError)
        fail(*tickError);

    const QSize size = gauge.sizeHint();
    QImage image((QSizeF(size) * options.scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(options.scale);
    image.fill(Qt::transparent);
    gauge.resize(size);
    gauge.render(&image);
    // Encoded in memory first, so a failed or short write can never leave a half PNG behind.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        fail(QStringLiteral("cannot encode the PNG"));
    if (const auto problem =
            merv::writeFileAtomically(options.output.toStdString(),
                                      std::string_view(png.constData(), std::size_t(png.size()))))
        fail(QStringLiteral("cannot write '%1': %2")
                 .arg(options.output, QString::fromStdString(problem->what)));
    return merv::tools::finishStandardOutput("mervgauge-render") ? 0 : 1;
}
