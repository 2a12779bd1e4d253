// A second copy of the program, as far as the settings file is concerned:
// writes COUNT values PREFIX0..PREFIX<COUNT-1> into FILE, one write each.
#include "shell/settings_store.h"

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    dorvane::SettingsStore store(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i)
        store.RegWriteInteger(prefix + QString::number(i), i);
    return store.RegistryWritable() ? 0 : 1;
}
