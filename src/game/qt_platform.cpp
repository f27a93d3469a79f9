#include "game/qt_platform.h"

#include "desktop/atomic_file.h"
#include "desktop/diagnostics.h"
#include "desktop/player_files.h"
#include "settings/ansi.h"
#include "ui/qt_texts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <QDateTime>
#include <QAbstractNativeEventFilter>
#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>

// What the window manager of an X11 desktop says of the active window: a
// running manager names a window of its own in the root window's
// _NET_SUPPORTING_WM_CHECK (a window that names itself there too), and the
// window it has made active in _NET_ACTIVE_WINDOW. Each change of that
// choice is passed on to the game's windows, and so is each mouse button
// pressed with Alt held: the X server tells every button press to a client
// that asks for the raw input on the root window, also one that the window
// manager takes for itself.
class X11WindowManager : public QAbstractNativeEventFilter {
public:
    explicit X11WindowManager(xcb_connection_t *connection)
        : m_connection(connection)
        , m_root(xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root)
        , m_active(atom("_NET_ACTIVE_WINDOW"))
        , m_check(atom("_NET_SUPPORTING_WM_CHECK"))
    {
        // The root window's property changes reach this client.
        const xcb_get_window_attributes_cookie_t cookie = xcb_get_window_attributes(m_connection, m_root);
        if (xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(m_connection, cookie, nullptr)) {
            const quint32 mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
            if (mask != attributes->your_event_mask)
                xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
            free(attributes);
        }
        selectRawButtonPresses();
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    // The window the manager has made active (none: 0); nothing when no
    // manager runs.
    std::optional<xcb_window_t> activeWindow() const
    {
        const xcb_window_t manager = windowProperty(m_root, m_check);
        if (manager == XCB_NONE || windowProperty(manager, m_check) != manager)
            return std::nullopt;
        return windowProperty(m_root, m_active);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        switch (event->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (change->window == m_root && change->atom == m_active)
                tellWindows(desktopActivatedEvent());
            break;
        }
        case XCB_GE_GENERIC: {
            const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
            if (m_input != 0 && generic->extension == m_input && generic->event_type == XCB_INPUT_RAW_BUTTON_PRESS
                && altHeld())
                tellWindows(desktopAltClickEvent());
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    static void tellWindows(QEvent::Type type)
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            QCoreApplication::postEvent(window, new QEvent(type));
    }

    // The raw button presses of every pointer, asked for beside whatever
    // else this client has asked of the root window for them.
    void selectRawButtonPresses()
    {
        const xcb_query_extension_reply_t *input = xcb_get_extension_data(m_connection, &xcb_input_id);
        if (!input || !input->present)
            return;
        quint32 bits = XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS;
        const xcb_input_xi_get_selected_events_cookie_t cookie = xcb_input_xi_get_selected_events(m_connection, m_root);
        if (auto *selected = xcb_input_xi_get_selected_events_reply(m_connection, cookie, nullptr)) {
            for (auto it = xcb_input_xi_get_selected_events_masks_iterator(selected); it.rem; xcb_input_event_mask_next(&it)) {
                if (it.data->deviceid == XCB_INPUT_DEVICE_ALL_MASTER && it.data->mask_len >= 1)
                    bits |= xcb_input_event_mask_mask(it.data)[0];
            }
            free(selected);
        }
        struct {
            xcb_input_event_mask_t head;
            quint32 bits;
        } mask = {{XCB_INPUT_DEVICE_ALL_MASTER, 1}, bits};
        xcb_input_xi_select_events(m_connection, m_root, 1, &mask.head);
        m_input = input->major_opcode;
    }

    // Whether Alt is held now, as the X server has it: a screen reader may
    // still be holding the key's press back from the game.
    bool altHeld() const
    {
        const xcb_query_pointer_cookie_t cookie = xcb_query_pointer(m_connection, m_root);
        xcb_query_pointer_reply_t *pointer = xcb_query_pointer_reply(m_connection, cookie, nullptr);
        const bool held = pointer && (pointer->mask & XCB_MOD_MASK_1);
        free(pointer);
        return held;
    }

    xcb_atom_t atom(const char *name) const
    {
        const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(m_connection, false, quint16(strlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
        const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
        free(reply);
        return atom;
    }

    // A property of window that holds one window, or none.
    xcb_window_t windowProperty(xcb_window_t window, xcb_atom_t property) const
    {
        const xcb_get_property_cookie_t cookie = xcb_get_property(m_connection, false, window, property, XCB_ATOM_WINDOW, 0, 1);
        xcb_get_property_reply_t *reply = xcb_get_property_reply(m_connection, cookie, nullptr);
        xcb_window_t value = XCB_NONE;
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 4)
            value = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
        free(reply);
        return value;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root;
    xcb_atom_t m_active;
    xcb_atom_t m_check;
    quint8 m_input = 0; // the input extension's major opcode, once its raw presses are asked for
};

QtPlatform::QtPlatform()
    // The random source is seeded from the clock.
    : m_random(quint32(QDateTime::currentMSecsSinceEpoch() ^ quint64(QDateTime::currentMSecsSinceEpoch() >> 32)))
{
    m_clock.start();
    auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11 = gui ? gui->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->connection())
        m_windowManager = std::make_unique<X11WindowManager>(x11->connection());
}

QtPlatform::~QtPlatform()
{
    if (m_soundLoader) {
        m_soundLoader->wait();
        delete m_soundLoader;
    }
}

void QtPlatform::messageBox(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<qint32> QtPlatform::chooseColor(QWidget *parent)
{
    QColorDialog dialog(parent);
    return runColourDialog(dialog);
}

bool QtPlatform::openFile(const QString &path)
{
    const bool opened = QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened)
        qCWarning(lcFiles).noquote() << "the desktop did not open" << path;
    return opened;
}

bool QtPlatform::openUrl(const QUrl &url)
{
    const bool opened = QDesktopServices::openUrl(url);
    if (!opened)
        qCWarning(lcFiles).noquote() << "the desktop did not open" << url.toString();
    return opened;
}

void QtPlatform::preloadSounds()
{
    if (m_soundsTried)
        return;
    m_soundsTried = true;
    // Reading the sound system's libraries takes a few milliseconds; the
    // game's thread goes on meanwhile.
    const QString dir = programDir();
    m_soundLoader = QThread::create([this, dir] { m_createSounds = loadGameSoundModule(dir); });
    QObject::connect(m_soundLoader, &QThread::finished, &m_soundContext, [this] { soundModuleLoaded(); },
                     Qt::QueuedConnection);
    m_soundLoader->start(QThread::LowPriority);
}

void QtPlatform::soundModuleLoaded()
{
    m_soundLoader->wait();
    delete m_soundLoader;
    m_soundLoader = nullptr;
    // Loaded once and kept for the life of the program.
    m_sounds.reset(m_createSounds ? m_createSounds() : nullptr);
    const int pending = std::exchange(m_pendingSound, 0);
    if (m_sounds && pending)
        m_sounds->play(pending);
}

bool QtPlatform::soundsReady() const
{
    return m_sounds && !m_sounds->isLoading();
}

int QtPlatform::playWave(int id)
{
    if (id < 1 || id > SoundPlayer::kSoundCount)
        return 0;
    preloadSounds();
    if (m_sounds)
        return m_sounds->play(id);
    if (!m_soundLoader)
        return 0;  // no sound module
    m_pendingSound = id;
    return 1;
}

QString QtPlatform::getSetting(const QString &app, const QString &section, const QString &key,
                               const QString &defaultValue)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, app, app);
    return s.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

bool QtPlatform::saveSetting(const QString &app, const QString &section, const QString &key,
                             const QString &value)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, app, app);
    const QString name = section + QLatin1Char('/') + key;
    const QVariant before = s.value(name);
    s.setValue(name, value);
    // sync() writes the store's file (through a temporary file renamed into
    // place) and reports in status() whether that worked: a folder that
    // cannot be made or written, a full disk.
    s.sync();
    if (s.status() == QSettings::NoError)
        return true;
    qCWarning(lcFiles).noquote() << "cannot store" << name << "in" << s.fileName();
    // Not stored. QSettings keeps the value in memory for every later
    // reader in this program, so a load would find a value that the store
    // does not hold: put back what it held.
    if (before.isValid())
        s.setValue(name, before);
    else
        s.remove(name);
    return false;
}

QString QtPlatform::programDir()
{
    return QCoreApplication::applicationDirPath();
}

QString QtPlatform::playerDir()
{
    if (m_playerDir.isEmpty()) {
        const QString program = programDir();
        m_playerDir = choosePlayerDir(program,
                                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                                      shippedDataDirs(program));
    }
    return m_playerDir;
}

bool QtPlatform::writeFile(const QString &path, const QByteArray &bytes)
{
    return writeFileAtomically(path, bytes);
}

bool QtPlatform::ansiTextAvailable()
{
    return ansiCodecAvailable();
}

quint32 QtPlatform::tickCount()
{
    return quint32(m_clock.elapsed());
}

double QtPlatform::rnd()
{
    return m_random.generateDouble();
}

void QtPlatform::endProgram()
{
    // Every window goes at once; no close handler runs again.
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

bool QtPlatform::activeOnDesktop(const QWidget *window)
{
    if (!window->isActiveWindow())
        return false;
    // Without a window manager the game gives the keyboard to its windows
    // itself; with one, the manager's choice can follow Qt's a little later,
    // and that is when the desktop (and a screen reader) has moved on to it.
    const std::optional<xcb_window_t> chosen = m_windowManager ? m_windowManager->activeWindow() : std::nullopt;
    return !chosen || *chosen == xcb_window_t(window->winId());
}
