#include "platform/dead_keys.h"

#include <xkbcommon/xkbcommon-compose.h>

#include <cstdlib>
#include <memory>

namespace {

// The locale whose compose table applies, looked up as the C library does.
const char* composeLocale()
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') return value;
    return "C";
}

struct ComposeState {
    xkb_context* context = nullptr;
    xkb_compose_table* table = nullptr;
    xkb_compose_state* state = nullptr;

    ComposeState()
    {
        context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (context == nullptr) return;
        table = xkb_compose_table_new_from_locale(context, composeLocale(), XKB_COMPOSE_COMPILE_NO_FLAGS);
        if (table == nullptr)  // a locale without a table of its own
            table = xkb_compose_table_new_from_locale(context, "C", XKB_COMPOSE_COMPILE_NO_FLAGS);
        if (table != nullptr) state = xkb_compose_state_new(table, XKB_COMPOSE_STATE_NO_FLAGS);
    }
    ~ComposeState()
    {
        xkb_compose_state_unref(state);
        xkb_compose_table_unref(table);
        xkb_context_unref(context);
    }
};

ComposeState& composeState()
{
    static ComposeState state;
    return state;
}

}  // namespace

ComposeResult composekey(uint32_t keysym)
{
    xkb_compose_state* state = composeState().state;
    if (state == nullptr || keysym == 0) return {};
    const bool pending = xkb_compose_state_get_status(state) == XKB_COMPOSE_COMPOSING;
    if (xkb_compose_state_feed(state, keysym) == XKB_COMPOSE_FEED_IGNORED) return {};  // a modifier
    switch (xkb_compose_state_get_status(state)) {
    case XKB_COMPOSE_COMPOSING: return {ComposeStep::composing, {}};
    case XKB_COMPOSE_COMPOSED: {
        char text[64] = {};
        xkb_compose_state_get_utf8(state, text, sizeof text);
        xkb_compose_state_reset(state);
        return {ComposeStep::composed, text};
    }
    case XKB_COMPOSE_CANCELLED:
        xkb_compose_state_reset(state);
        return {pending ? ComposeStep::cancelled : ComposeStep::none, {}};
    default: return {};
    }
}
