// The event queue: order, merging of equal neighbours, set-text suppression and removal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/events.h"

namespace mz {
namespace {

const WindowEvent Move{EventKind::MoveWindowEvent, 0, 0, 0};
const WindowEvent Close{EventKind::CloseWindowEvent, 0, 0, 0};
const WindowEvent Copy7{EventKind::GadgetEvent, 33, 0, 0};
const WindowEvent Edit7{EventKind::GadgetEvent, 53, 0, 0};
const WindowEvent Copy7Focus{EventKind::GadgetEvent, 33, 6, 0};
const WindowEvent Menu4{EventKind::MenuEvent, 4, 0, 0};
const WindowEvent TrayLeft{EventKind::SysTrayEvent, 1, LeftButtonDown, 0};
const WindowEvent TrayLeftDouble{EventKind::SysTrayEvent, 1, LeftDoubleClick, 0};
const WindowEvent MoveOther{EventKind::MoveWindowEvent, 0, 0, 1};
const WindowEvent GadgetOther{EventKind::GadgetEvent, 33, 0, 1};

enum class Op { Queue, Take, Begin, End, Remove, Clear };
struct Step {
    Op op;
    WindowEvent event{};  // Queue: the event; Remove: window in .window, item in .item
};
Step q(const WindowEvent& e) { return {Op::Queue, e}; }
const Step take{Op::Take, {}};
const Step begin{Op::Begin, {}};
const Step end{Op::End, {}};
const Step clear{Op::Clear, {}};
Step removeOf(std::int32_t window, std::int32_t item) { return {Op::Remove, {EventKind::NoEvent, item, 0, window}}; }

struct Case {
    std::string name;
    std::vector<Step> steps;
    std::vector<WindowEvent> handedOver;  // every event taken by a Take step, then the rest in queue order
};

std::string describe(const std::vector<WindowEvent>& events) {
    std::string s;
    for (const WindowEvent& e : events)
        s += "(" + std::to_string(static_cast<int>(e.kind)) + " " + std::to_string(e.item) + " " +
             std::to_string(e.clickType) + " " + std::to_string(e.window) + ")";
    return s;
}

TEST(EventQueue, SequencesOfEvents) {
    const Case cases[] = {
        {"empty", {}, {}},
        {"fifo", {q(Copy7), q(Menu4), q(TrayLeft)}, {Copy7, Menu4, TrayLeft}},
        {"two moves merge", {q(Move), q(Move)}, {Move}},
        {"a run of equal moves merges", {q(Move), q(Move), q(Move), q(Move)}, {Move}},
        {"move gadget move gives three", {q(Move), q(Copy7), q(Move)}, {Move, Copy7, Move}},
        {"equal clicks merge", {q(Copy7), q(Copy7)}, {Copy7}},
        {"different item keeps both", {q(Copy7), q(Edit7)}, {Copy7, Edit7}},
        {"different click type keeps both", {q(Copy7), q(Copy7Focus)}, {Copy7, Copy7Focus}},
        {"tray press then double-click", {q(TrayLeft), q(TrayLeftDouble)}, {TrayLeft, TrayLeftDouble}},
        {"different window keeps both", {q(Move), q(MoveOther)}, {Move, MoveOther}},
        {"handed-over event takes no part", {q(Move), take, q(Move)}, {Move, Move}},
        {"merge looks at the newest, not the oldest", {q(Move), q(Copy7), take, q(Copy7), q(Move)},
         {Move, Copy7, Move}},
        {"suppressed while setting text", {begin, q(Copy7), q(Move), end}, {}},
        {"queued again after suppression", {begin, q(Copy7), end, q(Move)}, {Move}},
        {"suppression nests", {begin, begin, q(Copy7), end, q(Menu4), end, q(Move)}, {Move}},
        {"extra end does not go below zero", {end, begin, q(Copy7), end, q(Move)}, {Move}},
        {"suppression keeps what was queued", {q(Close), begin, q(Close), end}, {Close}},
        {"remove a window's events", {q(Move), q(GadgetOther), q(Copy7), q(MoveOther), removeOf(0, -1)},
         {GadgetOther, MoveOther}},
        {"remove one control's events", {q(Copy7), q(Edit7), q(Copy7), q(GadgetOther), removeOf(0, 33)},
         {Edit7, GadgetOther}},
        {"removal joins no neighbours", {q(Move), q(Copy7), q(Move), removeOf(0, 33)}, {Move, Move}},
        {"clear", {q(Move), q(Copy7), clear, q(Menu4)}, {Menu4}},
    };
    for (const Case& c : cases) {
        clearEventQueue();
        std::vector<WindowEvent> got;
        int depth = 0;
        for (const Step& s : c.steps) {
            WindowEvent e;
            switch (s.op) {
            case Op::Queue: queueEvent(s.event); break;
            case Op::Take: ASSERT_TRUE(takeEvent(e)) << c.name; got.push_back(e); break;
            case Op::Begin: beginSetTextSuppression(); ++depth; break;
            case Op::End: endSetTextSuppression(); if (depth > 0) --depth; break;
            case Op::Remove: removeQueuedEvents(s.event.window, s.event.item); break;
            case Op::Clear: clearEventQueue(); break;
            }
        }
        ASSERT_EQ(depth, 0) << c.name << ": unbalanced case";
        WindowEvent e;
        while (takeEvent(e)) got.push_back(e);
        EXPECT_EQ(describe(got), describe(c.handedOver)) << c.name;
    }
}

TEST(EventQueue, TakeFromEmptyQueueLeavesEventAlone) {
    clearEventQueue();
    WindowEvent e = Menu4;
    EXPECT_FALSE(takeEvent(e));
    EXPECT_EQ(e, Menu4);
}

}  // namespace
}  // namespace mz
