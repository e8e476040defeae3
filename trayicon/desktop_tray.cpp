#include "trayicon/desktop_tray.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QVariant>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace lumora {
namespace {

constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char* kWatcherPath = "/StatusNotifierWatcher";

TrayKind processKind = TrayKind::None;

// The screen number of $DISPLAY (":0.1" is screen 1); 0 when it names none.
int DefaultScreenNumber() {
  const QByteArray display = qgetenv("DISPLAY");
  const qsizetype colon = display.lastIndexOf(':');
  const qsizetype dot = display.indexOf('.', colon < 0 ? 0 : colon);
  if (dot < 0) return 0;
  bool ok = false;
  const int screen = display.mid(dot + 1).toInt(&ok);
  return ok && screen >= 0 ? screen : 0;
}

}  // namespace

bool StatusNotifierHostAvailable() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) return false;
  // The cheap question first: is there a watcher at all?
  if (!bus.interface()->isServiceRegistered(QString::fromLatin1(kWatcherService)).value()) return false;
  // Then Qt's own question: a property read through the introspected
  // interface, which a watcher without introspection can't answer.
  QDBusInterface watcher(QString::fromLatin1(kWatcherService), QString::fromLatin1(kWatcherPath),
                         QString::fromLatin1(kWatcherService), bus);
  return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}

bool XEmbedTrayAvailable() {
  if (QGuiApplication::platformName().compare(QLatin1String("xcb"), Qt::CaseInsensitive) != 0) return false;
  auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 == nullptr ? nullptr : x11->connection();
  if (connection == nullptr) return false;
  const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreenNumber());
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
      xcb_intern_atom_reply(connection,
                            xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.constData()),
                            nullptr),
      &std::free);
  if (atom == nullptr || atom->atom == XCB_ATOM_NONE) return false;  // nobody ever made the selection
  std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
      &std::free);
  return owner != nullptr && owner->owner != XCB_WINDOW_NONE;
}

TrayKind ProcessTrayKind() { return processKind; }

TrayKind AvailableTrayKind() {
  if (processKind != TrayKind::None) {
    const bool there = processKind == TrayKind::StatusNotifier ? StatusNotifierHostAvailable() : XEmbedTrayAvailable();
    return there ? processKind : TrayKind::None;
  }
  if (StatusNotifierHostAvailable()) return TrayKind::StatusNotifier;
  if (XEmbedTrayAvailable()) return TrayKind::XEmbed;
  return TrayKind::None;
}

void SetProcessTrayKind(TrayKind kind) {
  if (processKind == TrayKind::None) processKind = kind;
}

bool TrayIconsReachable() { return processKind != TrayKind::None && AvailableTrayKind() == processKind; }

}  // namespace lumora
