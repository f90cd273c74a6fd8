#include "app/accentsetting.h"

#include "store/appsettings.h"
#include "style/accent.h"

void showAccentSetting(const AppSettings *settings, Accent *accent)
{
    auto show = [settings, accent] { accent->show(settings->useCustomAccent(), settings->customAccent()); };
    show();
    QObject::connect(settings, &AppSettings::useCustomAccentChanged, accent, show);
    QObject::connect(settings, &AppSettings::customAccentChanged, accent, show);
}
