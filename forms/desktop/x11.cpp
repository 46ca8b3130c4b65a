#include "forms/desktop/platform.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <qpa/qplatformnativeinterface.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

// The X11 desktop: virtual desktops and the active window of an EWMH window manager, read and
// asked through the program's own X connection. Under another window system (Wayland) there is
// no X connection, and nothing happens.
namespace forms::platform {

namespace {

class X11
{
public:
    static std::optional<X11> connect()
    {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11 || !x11->connection())
            return std::nullopt;
        return X11(x11->connection());
    }

    // Puts `window` on the desktop the user is on.
    void bringToCurrentDesktop(xcb_window_t window)
    {
        const xcb_atom_t wmDesktop = atom("_NET_WM_DESKTOP");
        const std::optional<uint32_t> current = cardinal(m_root, atom("_NET_CURRENT_DESKTOP"));
        if (!current)
            return; // a window manager without virtual desktops
        const xcb_atom_t wmState = atom("WM_STATE");
        const std::optional<uint32_t> state = value(window, wmState, wmState);
        if (!state || *state == WithdrawnState) {
            // Not mapped yet: the window manager reads the desktop as it takes the window on.
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, wmDesktop,
                                XCB_ATOM_CARDINAL, 32, 1, &*current);
        } else {
            const std::optional<uint32_t> on = cardinal(window, wmDesktop);
            if (on == current || on == AllDesktops)
                return;
            // A window the window manager has taken on is moved at its request only.
            xcb_client_message_event_t move{};
            move.response_type = XCB_CLIENT_MESSAGE;
            move.format = 32;
            move.window = window;
            move.type = wmDesktop;
            move.data.data32[0] = *current;
            move.data.data32[1] = FromApplication;
            xcb_send_event(m_connection, 0, m_root,
                           XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY
                               | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                           reinterpret_cast<const char *>(&move));
        }
        xcb_flush(m_connection);
    }

    // The window manager's active window, or without a window manager the window with the input
    // focus; its rectangle on the screen.
    std::optional<QRect> focusedWindowFrame()
    {
        xcb_window_t focused = XCB_WINDOW_NONE;
        if (const std::optional<uint32_t> active =
                value(m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW))
            focused = *active;
        if (focused == XCB_WINDOW_NONE) {
            const Reply<xcb_get_input_focus_reply_t> input(xcb_get_input_focus_reply(
                m_connection, xcb_get_input_focus(m_connection), nullptr));
            if (input && input->focus != XCB_INPUT_FOCUS_POINTER_ROOT)
                focused = input->focus;
        }
        if (focused == XCB_WINDOW_NONE || focused == m_root)
            return std::nullopt;
        const Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, focused), nullptr));
        const Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, focused, m_root, 0, 0), nullptr));
        if (!geometry || !origin)
            return std::nullopt; // the window went meanwhile
        return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    }

    // The root window of `window`'s screen, in place of the default screen's.
    void useRootOf(xcb_window_t window)
    {
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
        if (tree)
            m_root = tree->root;
    }

private:
    static constexpr uint32_t WithdrawnState = 0;
    static constexpr uint32_t AllDesktops = 0xFFFFFFFF;
    static constexpr uint32_t FromApplication = 1;

    struct Free
    {
        void operator()(void *reply) const { std::free(reply); }
    };
    template <class T>
    using Reply = std::unique_ptr<T, Free>;

    explicit X11(xcb_connection_t *connection) : m_connection(connection)
    {
        const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
        if (screens.rem > 0)
            m_root = screens.data->root;
    }

    xcb_atom_t atom(std::string_view name) const
    {
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(name.size()), name.data()),
            nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    // The first value of a window's 32-bit property of the type, if it has one.
    std::optional<uint32_t> value(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const
    {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, property, type, 0, 1),
            nullptr));
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
            return std::nullopt;
        return *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    }

    std::optional<uint32_t> cardinal(xcb_window_t window, xcb_atom_t property) const
    {
        return value(window, property, XCB_ATOM_CARDINAL);
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};

} // namespace

std::vector<char *> extraArguments(const std::vector<char *> &arguments)
{
    // Under a Wayland session a native Wayland window can neither choose its place nor come to
    // the front by itself, and an alarm must do both; XWayland lets it. Native Wayland remains
    // for sessions without XWayland. A platform the user chose is left alone, and the choice is
    // an argument, not the environment, so that the programs a link opens do not inherit it.
    static char platformOption[] = "-platform";
    static char platforms[] = "xcb;wayland";
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        || std::find_if(arguments.begin(), arguments.end(), [](const char *a) {
               return std::strcmp(a, "-platform") == 0;
           }) != arguments.end())
        return {};
    return {platformOption, platforms};
}

void allowActivation() { }

void bringToCurrentDesktop(QWidget &window)
{
    std::optional<X11> x11 = X11::connect();
    if (!x11)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    x11->useRootOf(id);
    x11->bringToCurrentDesktop(id);
}

std::optional<QRect> focusedWindowFrame()
{
    std::optional<X11> x11 = X11::connect();
    return x11 ? x11->focusedWindowFrame() : std::nullopt;
}

std::optional<quint32> windowSystemTime()
{
    if (!X11::connect() || !QGuiApplication::primaryScreen())
        return std::nullopt;
    // Qt asks the X server over its own connection: a change of nothing to a property of the root
    // window, whose notification carries the server's time. Nothing comes back as 0, the time the
    // server never gives.
    void *time = QGuiApplication::platformNativeInterface()->nativeResourceForScreen(
        QByteArrayLiteral("gettimestamp"), QGuiApplication::primaryScreen());
    if (!time)
        return std::nullopt;
    return static_cast<quint32>(reinterpret_cast<quintptr>(time));
}

std::optional<quint32> typedAt(const QKeyEvent &key)
{
    // Qt passes on the X server's stamp (the compositor's under Wayland); 0 is none.
    if (key.timestamp() == 0)
        return std::nullopt;
    return static_cast<quint32>(key.timestamp());
}

void prepareUnaskedBox(QMessageBox &box)
{
    if (!X11::connect())
        return;
    // On X11 Qt makes a box of no window a dialog of the program's hidden group leader, and a
    // window manager may keep such a dialog with the group: KWin opens it on the main window's
    // desktop, and minimised while the main window is. The alarm is a window of its own there,
    // still modal. (QMessageBox makes itself a dialog again when its modality is set, so this
    // comes after.)
    box.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                       | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

} // namespace forms::platform
