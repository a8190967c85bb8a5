// Binds a member function as an event handler, so that a binding names its handler.
#pragma once
#include <type_traits>
#include <utility>

namespace tk {

// An event handler that calls `handler` on `owner` with the event's arguments
// (`button.OnClick = tk::Handler(this, &TfrmX::sbtOkClick)`). `owner` must outlive it.
template <class Owner, class Class, class... Args>
    requires std::is_base_of_v<Class, Owner>
auto Handler(Owner* owner, void (Class::*handler)(Args...)) {
    return [owner, handler](Args... args) { (owner->*handler)(std::forward<Args>(args)...); };
}

}  // namespace tk
