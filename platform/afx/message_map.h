// Message maps: readable tables from a message, or a command id with its notification code, to a
// member handler. A class's table is searched in order, then its base class's.
//
//   BEGIN_MESSAGE_MAP(MainFrame, CFrameWnd)
//       afx::OnMessage<&MainFrame::OnTap>(WM_LBUTTONDOWN),
//       afx::OnCommand<&MainFrame::ShowAbout>(40003),
//   END_MESSAGE_MAP()
//
// Handlers take the arguments of their message: () for most, (UINT flags, CPoint point) for the
// stylus, (UINT_PTR id) for WM_TIMER, (UINT key, UINT repeat, UINT flags) for WM_KEYDOWN, or
// (WPARAM, LPARAM) returning LRESULT for anything else.
#pragma once

#include <span>
#include <tuple>
#include <type_traits>

#include "platform/user/user_types.h"

class CCmdTarget;

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(LONG px, LONG py) : POINT{px, py} {}
};

using AfxHandler = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;  // WM_COMMAND for commands and control notifications
    UINT id;       // WM_COMMAND: the command or control id
    UINT code;     // WM_COMMAND: the notification code (0 for menus, accelerators, BN_CLICKED)
    AfxHandler handler;
};

struct MessageMap {
    const MessageMap* (*base)();
    std::span<const MessageMapEntry> entries;
};

namespace afx {

template <class T>
struct MemberTraits;
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Args = std::tuple<A...>;
};

template <class>
inline constexpr bool kUnsupportedHandler = false;

template <auto F>
LRESULT Thunk(CCmdTarget* target, WPARAM wParam, LPARAM lParam) {
    using M = MemberTraits<decltype(F)>;
    using Args = typename M::Args;
    auto* self = static_cast<typename M::Class*>(target);
    if constexpr (std::is_same_v<Args, std::tuple<>>) {
        (self->*F)();
    } else if constexpr (std::is_same_v<Args, std::tuple<UINT, CPoint>>) {
        (self->*F)(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    } else if constexpr (std::is_same_v<Args, std::tuple<UINT_PTR>>) {
        (self->*F)(static_cast<UINT_PTR>(wParam));
    } else if constexpr (std::is_same_v<Args, std::tuple<UINT, UINT, UINT>>) {
        (self->*F)(static_cast<UINT>(wParam), static_cast<UINT>(lParam & 0xFFFF),
                   static_cast<UINT>((static_cast<std::uintptr_t>(lParam) >> 16) & 0xFFFF));
    } else if constexpr (std::is_same_v<Args, std::tuple<WPARAM, LPARAM>>) {
        if constexpr (std::is_same_v<typename M::Result, LRESULT>)
            return (self->*F)(wParam, lParam);
        else
            (self->*F)(wParam, lParam);
    } else {
        static_assert(kUnsupportedHandler<decltype(F)>, "no such handler signature");
    }
    return 0;
}

template <auto F>
constexpr MessageMapEntry OnMessage(UINT message) {
    return {message, 0, 0, &Thunk<F>};
}
// A menu or toolbar command, or a button click (BN_CLICKED is 0 like a menu's code).
template <auto F>
constexpr MessageMapEntry OnCommand(UINT id) {
    return {WM_COMMAND, id, 0, &Thunk<F>};
}
template <auto F>
constexpr MessageMapEntry OnClicked(UINT id) {
    return {WM_COMMAND, id, BN_CLICKED, &Thunk<F>};
}

// Searches map and its bases: a message's entry, or (message WM_COMMAND) an id and code's.
const MessageMapEntry* FindEntry(const MessageMap* map, UINT message, UINT id, UINT code);

}  // namespace afx

#define DECLARE_MESSAGE_MAP()                    \
  public:                                        \
    static const ::MessageMap* ThisMessageMap(); \
    const ::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(Class, Base)                                      \
    const ::MessageMap* Class::GetMessageMap() const {                      \
        return ThisMessageMap();                                            \
    }                                                                       \
    const ::MessageMap* Class::ThisMessageMap() {                           \
        static const ::MessageMap* (*const base)() = &Base::ThisMessageMap; \
        static const ::MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                         \
    }                                             \
    ;                                             \
    static const ::MessageMap map{base, entries}; \
    return &map;                                  \
    }
