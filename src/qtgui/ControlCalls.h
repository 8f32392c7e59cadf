#pragma once

#include <mervgauge/bagfile/BagError.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/RuntimeError.h>

#include <QString>

#include <functional>
#include <utility>

class QObject;

namespace merv::qt {

// What a call into the control ended in: NoError, the control's run-time error number, or
// BagFileError for a bag file that could not be read or written.
struct CallError {
    static constexpr int NoError = 0;
    static constexpr int BagFileError = -1;
    int number = NoError;
    QString text;
    bool failed() const noexcept { return number != NoError; }
    bool operator==(const CallError&) const = default;
};

// The bracket around every call a view makes into the control. Notices the control sends
// meanwhile are gathered and the view catches up once the outermost call returns, so a change
// undone within one call costs nothing; a notice from outside any call (a program holding the
// control itself) has the view catch up from the event loop. Errors come back as values.
class ControlCalls {
public:
    // catchUp is what the view does to catch up; the view is the context of its posted
    // catch-ups, which go with it.
    ControlCalls(QObject& view, std::function<void()> catchUp)
        : m_view(view), m_catchUp(std::move(catchUp)) {}
    // The tree whose restacking and surface presents a call tells once, as they stand when
    // the call ends.
    void setTree(ElementTree& tree) noexcept { m_tree = &tree; }

    template <typename F>
    decltype(auto) call(F&& f) {
        const Depth depth(*this);
        ElementTree::DeferredNotices once(*m_tree);
        return std::forward<F>(f)();
    }

    // Runs a call, its run-time or bag-file error as the answer.
    template <typename F>
    CallError attempt(F&& f) {
        try {
            call(std::forward<F>(f));
            return {};
        } catch (const RuntimeError& refused) {
            return {refused.number(), QString::fromStdString(refused.description())};
        } catch (const BagError& bad) {
            return {CallError::BagFileError, QString::fromUtf8(bad.what())};
        }
    }

    // The control sent a notice: outside any call the view catches up from the event loop.
    void noticed();

private:
    struct Depth {
        explicit Depth(ControlCalls& calls) : calls(calls) { ++calls.m_depth; }
        ~Depth() {
            if (--calls.m_depth == 0)
                calls.m_catchUp();
        }
        Depth(const Depth&) = delete;
        Depth& operator=(const Depth&) = delete;
        ControlCalls& calls;
    };

    QObject& m_view;
    std::function<void()> m_catchUp;
    ElementTree* m_tree = nullptr;
    int m_depth = 0;
    bool m_catchUpPosted = false;
};

} // namespace merv::qt
