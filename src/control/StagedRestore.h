#pragma once

#include <mervgauge/platform/PropertyBag.h>

#include <optional>
#include <string_view>

namespace merv {

struct PropertyInfo;

// The writes to a gauge that is yet to be restored. A form loader or a declarative scene sets
// a gauge's properties in the order its file lists them, while a gauge restores them in the
// persisted order; so the writes wait here as a property bag, and the gauge restores from that
// bag (Initialize, ReadProperties) when its host first shows it or hands it to a listener.
class StagedRestore {
public:
    // A restore that waits for writes; numbers convert texts as the host's locale does.
    explicit StagedRestore(NumberLocale numbers);
    // Nothing waits: the host starts its gauge itself.
    StagedRestore() = default;

    bool isWaiting() const noexcept { return m_bag.has_value(); }
    // Keeps a write for the restore; a later write of the same property replaces it. Throws
    // RuntimeError (property not supported) for a property that restoring does not read.
    void write(const PropertyInfo& property, Variant value);
    // What the waiting gauge holds of a property: the value written to it, else the default
    // its bag gives.
    Variant value(const PropertyInfo& property) const;
    // Ends the wait: the bag to restore from. Nothing waits afterwards.
    MemoryPropertyBag take();

private:
    std::optional<MemoryPropertyBag> m_bag;
};

} // namespace merv
