#include "core/shell_settings.h"

namespace dorvane {

const TSettingsSchema<TShellSettings, TShellContext>& ShellSettingsSchema() {
    static const auto schema = [] {
        TSettingsSchema<TShellSettings, TShellContext> s;
        s.Bool("MinimizeToTray", DORVANE_MEMBER(MinimizeToTray), false, 1)
            .ReadOnlyWhen(
                [](const TShellSettings&, const TShellContext& c) { return c.trayAvailable; });
        s.Bool("StartStandard", DORVANE_MEMBER(StartStandard), false, 0);
        s.Bool("ReStart", DORVANE_MEMBER(ReStart), true, 0);
        // Read as a percent and used in thousandths, 10 .. 2000.
        s.Integer("SpeedSound", DORVANE_MEMBER(SpeedSound), 100, 0, TIntRange{1, 200})
            .NeverWritten();
        return s;
    }();
    return schema;
}

} // namespace dorvane
