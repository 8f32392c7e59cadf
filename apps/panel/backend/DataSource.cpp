#include "panel/DataSource.h"

#include "panel/DeliveryQueue.h"

#include "panel/Form.h"
#include "panel/HeadlessSite.h"
#include "panel/ModbusSource.h"
#include "panel/MqttSource.h"
#include "panel/SimSource.h"
#include "panel/StdinSource.h"

#include <QTimer>

#include <chrono>
#include <cstdio>

namespace merv::panel {
namespace {

constexpr std::int64_t DropReportIntervalMs = 10000; // dropped values are told at most this often

std::int64_t steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

DataSource::DataSource(QObject* parent)
    : QObject(parent), m_delivery(std::make_unique<DeliveryQueue>(this)) {}

DataSource::~DataSource() = default;

void DataSource::deliver(std::function<void()> work) {
    m_delivery->post(std::move(work));
}

void DataSource::deliverValue(std::function<void()> work) {
    if (m_delivery->postValue(std::move(work)) || m_dropReportPending.exchange(true))
        return;
    m_delivery->post([this] { reportDrops(); });
}

void DataSource::takeDelivered() {
    m_delivery->drainNow();
}

void DataSource::setPace(std::chrono::microseconds interval) {
    m_delivery->setPace(interval);
}

std::uint64_t DataSource::droppedValues() const {
    return m_delivery->droppedValues();
}

void DataSource::reportDrops() {
    const std::int64_t now = steadyMs();
    if (m_lastDropReportMs != 0 && now - m_lastDropReportMs < DropReportIntervalMs) {
        QTimer::singleShot(DropReportIntervalMs - (now - m_lastDropReportMs), this,
                           [this] { reportDrops(); });
        return;
    }
    m_lastDropReportMs = now;
    const std::uint64_t dropped = droppedValues();
    emit noticed(tr("%1 value(s) dropped, %2 since the last notice: they came faster than the "
                    "panel could take them")
                     .arg(dropped)
                     .arg(dropped - m_droppedReported));
    m_droppedReported = dropped;
    m_dropReportPending = false;
}

SourceTag sourceTagOf(const std::string& tag, const MERV_Gauge& control) {
    return SourceTag{tag,
                     control.MinValue(),
                     control.MaxValue(),
                     control.AlarmLowVal(),
                     control.WarningLowVal(),
                     control.WarningHighVal(),
                     control.AlarmHighVal(),
                     control.Value()};
}

std::vector<SourceTag> sourceTagsOf(const Form& form) {
    std::vector<SourceTag> tags;
    for (const FormGauge& gauge : form.gauges) {
        MemoryPropertyBag bag = gauge.bag;
        tags.push_back(sourceTagOf(gauge.tag, HeadlessGauge(bag).control()));
    }
    return tags;
}

std::int64_t DataSource::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string defaultStationName(const std::string& host, const std::filesystem::path& form,
                               const std::filesystem::path& history) {
    // The same file under another spelling of its path is the same panel.
    const auto canonical = [](const std::filesystem::path& path) {
        std::error_code ignored; // a file not there yet keeps its absolute spelling
        const auto absolute = std::filesystem::absolute(path, ignored);
        return std::filesystem::weakly_canonical(absolute, ignored).generic_string();
    };
    std::uint32_t hash = 2166136261u; // FNV-1a, the same on every build
    for (const std::string& part :
         {form.empty() ? std::string() : canonical(form), std::string(1, '\0'), canonical(history)})
        for (const unsigned char c : part)
            hash = (hash ^ c) * 16777619u;
    char suffix[9];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(hash));
    return host + "-" + std::string(suffix, 4);
}

SourceOptions sourceOptionsFor(const SourceOptions& commandLine, const Form& form,
                               const std::filesystem::path& formFile, bool formsOwnSource) {
    SourceOptions options = commandLine;
    if (formsOwnSource)
        options.mqtt = overridden(resolvedBeside(form.sourceSecurity, formFile), commandLine.mqtt);
    return options;
}

std::unique_ptr<DataSource> openSource(const std::string& address, const SourceOptions& options) {
    const bool mqtt = address.starts_with("mqtt://") || address.starts_with("mqtts://");
    if (!mqtt && options.mqtt != MqttSecurity())
        throw SourceError("the MQTT options (--mqtt-cafile, --mqtt-user, ...) need an mqtt:// "
                          "or mqtts:// source, not \"" +
                          address + "\"");
    if (mqtt)
        return std::make_unique<MqttSource>(readMqttAddress(address), options.station,
                                            options.mqtt);
    if (address == "sim")
        return std::make_unique<SimSource>(options);
    if (address == "stdin")
        return std::make_unique<StdinSource>();
    if (address.starts_with("modbus-tcp://"))
        return std::make_unique<ModbusSource>(readModbusAddress(address), options.pollIntervalMs);
    throw SourceError("unknown source \"" + address +
                      "\": use sim, stdin, mqtt://HOST:PORT[/PREFIX], mqtts://HOST:PORT[/PREFIX] "
                      "or modbus-tcp://HOST:PORT");
}

} // namespace merv::panel
