#include "panel/DataSource.h"

#include "panel/Form.h"
#include "panel/HeadlessSite.h"
#include "panel/ModbusSource.h"
#include "panel/MqttSource.h"
#include "panel/SimSource.h"
#include "panel/StdinSource.h"

#include <chrono>

namespace merv::panel {

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

std::unique_ptr<DataSource> openSource(const std::string& address, const SourceOptions& options) {
    if (address == "sim")
        return std::make_unique<SimSource>(options);
    if (address == "stdin")
        return std::make_unique<StdinSource>();
    if (address.starts_with("mqtt://"))
        return std::make_unique<MqttSource>(readMqttAddress(address), options.station);
    if (address.starts_with("modbus-tcp://"))
        return std::make_unique<ModbusSource>(readModbusAddress(address), options.pollIntervalMs);
    throw SourceError("unknown source \"" + address +
                      "\": use sim, stdin, mqtt://HOST:PORT[/PREFIX] or modbus-tcp://HOST:PORT");
}

} // namespace merv::panel
