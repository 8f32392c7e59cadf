#pragma once

#include <mervgauge/platform/ColorDialog.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace merv::host {

// The scripting host's colour chooser: it answers every ShowColor the way the script last
// said (a colour, or cancel) and reports each opening with the options it was opened with.
class ScriptedColorDialog : public ColorDialog {
public:
    // Runs as the chooser opens, with its Flags and Color.
    std::function<void(std::int32_t flags, std::uint32_t color)> onShow;

    // The colour the next choosers pick; empty: they are cancelled.
    void answerWith(std::optional<std::uint32_t> color) noexcept { m_answer = color; }

    void setFlags(std::int32_t flags) override { m_flags = flags; }
    std::uint32_t Color() const override { return m_color; }
    void setColor(std::uint32_t color) override { m_color = color; }
    void ShowColor() override;

private:
    std::int32_t m_flags = 0;
    std::uint32_t m_color = 0;
    std::optional<std::uint32_t> m_answer;
};

} // namespace merv::host
