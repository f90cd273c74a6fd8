#include "app/islandservices.h"

#include "canvas/canvasrefresh.h"
#include "games/arcadeengine.h"
#include "games/gameregistry.h"
#include "canvas/canvasservice.h"
#include "media/artworkloader.h"
#include "media/mirrorcamera.h"
#include "media/mp3exporter.h"
#include "media/nowplayingservice.h"
#include "media/voicememoengine.h"
#include "services/eyestrainguard.h"
#include "services/keepawake.h"
#include "services/powermodemonitor.h"
#include "services/systemhudmonitor.h"
#include "services/timerstore.h"
#include "tools/calculatorengine.h"
#include "tools/mediadownloadengine.h"
#include "tools/pocketstore.h"

#include <QDir>
#include <QJSEngine>

IslandServices::IslandServices(const IslandEnvironment &env)
{
    const Platform &p = env.platform;
    UserDefaults *d = env.defaults;
    Clock *c = env.clock;
    Scheduler *s = env.scheduler;
    m_keepAwake = std::make_unique<KeepAwake>(p.displaySleep);
    m_camera = std::make_unique<MirrorCamera>(*p.camera, *p.faceDetector, *c);
    m_eyeStrain = std::make_unique<EyeStrainGuard>(p.idleTime, c);
    m_calculator = std::make_unique<CalculatorEngine>();
    m_speedTest = std::make_unique<SpeedTestEngine>(c, s, env.speedTest);
    m_pocket = std::make_unique<PocketStore>(d, c, p.clipboard, env.pocketFolder, QDir::tempPath(), env.executor);
    m_mp3Exporter = std::make_unique<Mp3Exporter>(*p.tools, *p.processes, env.exportFolder);
    m_voice = std::make_unique<VoiceMemoEngine>(*p.memoRecorder, *p.memoPlayer, *m_mp3Exporter, *p.fileRevealer, *c,
                                                *s, env.memosFolder);
    m_translator = std::make_unique<TranslatorEngine>(p.clipboard, env.translatorBase);
    m_youtubeDown = std::make_unique<MediaDownloadEngine>(Tools::MediaKind::youtube, p.tools, p.processes,
                                                          env.downloadsFolder);
    m_spotifyDown = std::make_unique<MediaDownloadEngine>(Tools::MediaKind::spotify, p.tools, p.processes,
                                                          env.downloadsFolder);
    m_artworkLoader = std::make_unique<ArtworkLoader>(*env.network, *c);
    m_nowPlayingService = std::make_unique<NowPlayingService>(*p.mediaPlayers, *p.mediaKeySender, *m_artworkLoader,
                                                              *c, *s);
    m_calendarStore = std::make_unique<CalendarStore>(p.calendar, c);
    m_batteryMonitor = std::make_unique<BatteryMonitor>(p.powerSupply);
    m_canvasService = std::make_unique<CanvasService>(env.credentials, env.network, c, s, env.timeZone);
    m_canvasRefresh = std::make_unique<CanvasRefresh>(m_canvasService.get(), env.credentials, c);
    m_weatherService = std::make_unique<WeatherService>(env.weatherBase, p.location, p.geocoder, env.network, s);
    m_systemMonitor = std::make_unique<SystemMonitor>(p.systemLoad);
    m_networkStatus = std::make_unique<NetworkStatus>(p.networkInterfaces, p.wifi, p.reachability);
    m_clipboardStore = std::make_unique<ClipboardStore>(p.clipboard);
    m_bluetoothMonitor = std::make_unique<BluetoothMonitor>(p.bluetooth);
    m_powerMonitor = std::make_unique<PowerModeMonitor>(p.lowPowerMode);
    m_hudMonitor = std::make_unique<SystemHUDMonitor>(p.mediaKeys, p.audio, p.backlight, c, s);
    m_timer = std::make_unique<TimerStore>(std::nullopt, d, c, s);

    const GameEngineParts games{d, c, s, env.random};
    for (const GameEntry &game : GameRegistry::games()) {
        m_games.push_back(game.makeEngine(games));
        // The views reach the engines through a list; they stay ours.
        QJSEngine::setObjectOwnership(m_games.back().get(), QJSEngine::CppOwnership);
    }
}

IslandServices::~IslandServices() = default;

IslandParts IslandServices::parts() const
{
    IslandParts parts;
#define PAVLET_ISLAND_PART_HANDED(Type, name) parts.name = m_##name.get();
    PAVLET_ISLAND_PARTS(PAVLET_ISLAND_PART_HANDED)
#undef PAVLET_ISLAND_PART_HANDED
    for (const auto &engine : m_games)
        parts.games.append(engine.get());
    return parts;
}
