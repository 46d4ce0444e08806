#include "macrodialogfactory.h"

#include "fd_macro_clear_counters.h"
#include "fd_macro_clear_signals.h"
#include "fd_macro_control_switch.h"
#include "fd_macro_login.h"
#include "fd_macro_logout.h"
#include "fd_macro_set.h"
#include "fd_macro_set_active_profile.h"
#include "fd_macro_set_active_setofsettings.h"
#include "fd_macro_set_control_lr.h"
#include "fd_macro_set_date_time.h"
#include "fd_macro_set_ip.h"
#include "fd_macro_set_password_time.h"
#include "fd_macro_set_port_address.h"
#include "fd_macro_set_port_protocol.h"
#include "fd_macro_set_port_settings.h"
#include "fd_macro_set_port_timeout.h"
#include "fd_macro_set_user_commands.h"
#include "fd_macro_set_user_privileges.h"
#include "fd_macro_set_work_mode.h"

#include <algorithm>

namespace {

struct MacroDialogEntry
{
    const char *name;
    FD_MACRO *(*create)(QWidget *parent);
    bool offered; // in the macro chooser
};

template<class Dialog> FD_MACRO *make(QWidget *parent)
{
    return new Dialog(parent);
}

// In the order of the macro chooser; the work mode is not offered there.
const MacroDialogEntry macroDialogs[] = {
    {"FD_MACRO_SET", make<FD_MACRO_SET>, true},
    {"FD_MACRO_CONTROL_SWITCH", make<FD_MACRO_CONTROL_SWITCH>, true},
    {"FD_MACRO_LOGIN", make<FD_MACRO_LOGIN>, true},
    {"FD_MACRO_LOGOUT", make<FD_MACRO_LOGOUT>, true},
    {"FD_MACRO_CLEAR_COUNTERS", make<FD_MACRO_CLEAR_COUNTERS>, true},
    {"FD_MACRO_CLEAR_SIGNALS", make<FD_MACRO_CLEAR_SIGNALS>, true},
    {"FD_MACRO_SET_ACTIVE_PROFILE", make<FD_MACRO_SET_ACTIVE_PROFILE>, true},
    {"FD_MACRO_SET_DATE_TIME", make<FD_MACRO_SET_DATE_TIME>, true},
    {"FD_MACRO_SET_USER_COMMANDS", make<FD_MACRO_SET_USER_COMMANDS>, true},
    {"FD_MACRO_SET_USER_PRIVILEGES", make<FD_MACRO_SET_USER_PRIVILEGES>, true},
    {"FD_MACRO_SET_CONTROL_LR", make<FD_MACRO_SET_CONTROL_LR>, true},
    {"FD_MACRO_SET_PASSWORD_TIME", make<FD_MACRO_SET_PASSWORD_TIME>, true},
    {"FD_MACRO_SET_ACTIVE_SETofSETTINGS", make<FD_MACRO_SET_ACTIVE_SETOFSETTINGS>, true},
    {"FD_MACRO_SET_PORT_ADDRESS", make<FD_MACRO_SET_PORT_ADDRESS>, true},
    {"FD_MACRO_SET_PORT_SETTINGS", make<FD_MACRO_SET_PORT_SETTINGS>, true},
    {"FD_MACRO_SET_PORT_TIMEOUT", make<FD_MACRO_SET_PORT_TIMEOUT>, true},
    {"FD_MACRO_SET_PORT_PROTOCOL", make<FD_MACRO_SET_PORT_PROTOCOL>, true},
    {"FD_MACRO_SET_IP_ADDRESS", make<FD_MACRO_SET_IP_ADDRESS>, true},
    {"FD_MACRO_SET_IP_MASK", make<FD_MACRO_SET_IP_MASK>, true},
    {"FD_MACRO_SET_IP_GATEWAY", make<FD_MACRO_SET_IP_GATEWAY>, true},
    {"FD_MACRO_SET_WORK_MODE", make<FD_MACRO_SET_WORK_MODE>, false},
};

} // namespace

FD_MACRO *createMacroDialog(const QString &macroName, QWidget *parent)
{
    // A request stored under the class name's spelling still finds its dialog, which then
    // writes the name the driver's catalogue expects.
    if (macroName == QLatin1String("FD_MACRO_SET_ACTIVE_SETOFSETTINGS"))
        return new FD_MACRO_SET_ACTIVE_SETOFSETTINGS(parent);
    for (const MacroDialogEntry &entry : macroDialogs) {
        if (macroName == QLatin1String(entry.name))
            return entry.create(parent);
    }
    return nullptr;
}

QStringList macroDialogNames()
{
    QStringList names;
    for (const MacroDialogEntry &entry : macroDialogs)
        names << QString::fromLatin1(entry.name);
    // The order of the class names, where "SETOF" is upper case.
    std::sort(names.begin(), names.end(),
        [](const QString &a, const QString &b) { return a.toUpper() < b.toUpper(); });
    return names;
}

QStringList macroChooserNames()
{
    QStringList names;
    for (const MacroDialogEntry &entry : macroDialogs)
        if (entry.offered)
            names << QString::fromLatin1(entry.name);
    return names;
}
