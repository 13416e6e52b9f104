#pragma once

#include <QObject>
#include <functional>
#include <type_traits>
#include <utility>

// Runs one event handler: a SilentStop ends it quietly, any other error ends it and shows its text in the standard
// error box. No exception ever leaves a Qt slot.
void guarded(const std::function<void()>& handler);

// connect() whose slot runs through guarded(); the slot may ignore the signal's arguments.
template <typename Sender, typename Signal, typename Functor>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, QObject* context, Functor functor) {
    return QObject::connect(sender, signal, context, [functor = std::move(functor)](auto&&... args) {
        guarded([&] {
            if constexpr (std::is_invocable_v<const Functor&, decltype(args)...>)
                functor(std::forward<decltype(args)>(args)...);
            else
                functor();
        });
    });
}
