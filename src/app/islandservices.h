#pragma once

#include "island/notchviewmodel.h"

#include <memory>

class ArtworkLoader;
class BatteryMonitor;
class BluetoothMonitor;
class CalculatorEngine;
class CalendarStore;
class CanvasRefresh;
class CanvasService;
class ClipboardStore;
class EyeStrainGuard;
class KeepAwake;
class MediaDownloadEngine;
class MirrorCamera;
class Mp3Exporter;
class NetworkStatus;
class NowPlayingService;
class PocketStore;
class PowerModeMonitor;
class SpeedTestEngine;
class SystemHUDMonitor;
class SystemMonitor;
class TimerStore;
class TranslatorEngine;
class VoiceMemoEngine;
class WeatherService;

// The island's engines, stores and services apart from the games, each made
// from what the island is built from. The composition root keeps one for the
// life of the program and hands its parts to the island's model; tests make
// one over fakes. Made before the model and gone after it.
class IslandServices {
public:
    explicit IslandServices(const IslandEnvironment &env);
    ~IslandServices();
    IslandServices(const IslandServices &) = delete;
    IslandServices &operator=(const IslandServices &) = delete;

    IslandParts parts() const;

private:
    std::unique_ptr<KeepAwake> m_keepAwake;
    std::unique_ptr<MirrorCamera> m_camera;
    std::unique_ptr<EyeStrainGuard> m_eyeStrain;
    std::unique_ptr<CalculatorEngine> m_calculator;
    std::unique_ptr<SpeedTestEngine> m_speedTest;
    std::unique_ptr<PocketStore> m_pocket;
    std::unique_ptr<Mp3Exporter> m_mp3Exporter;
    std::unique_ptr<VoiceMemoEngine> m_voice;
    std::unique_ptr<TranslatorEngine> m_translator;
    std::unique_ptr<MediaDownloadEngine> m_youtubeDown;
    std::unique_ptr<MediaDownloadEngine> m_spotifyDown;
    std::unique_ptr<ArtworkLoader> m_artworkLoader;
    std::unique_ptr<NowPlayingService> m_nowPlayingService;
    std::unique_ptr<CalendarStore> m_calendarStore;
    std::unique_ptr<BatteryMonitor> m_batteryMonitor;
    std::unique_ptr<CanvasService> m_canvasService;
    std::unique_ptr<CanvasRefresh> m_canvasRefresh;
    std::unique_ptr<WeatherService> m_weatherService;
    std::unique_ptr<SystemMonitor> m_systemMonitor;
    std::unique_ptr<NetworkStatus> m_networkStatus;
    std::unique_ptr<ClipboardStore> m_clipboardStore;
    std::unique_ptr<BluetoothMonitor> m_bluetoothMonitor;
    std::unique_ptr<PowerModeMonitor> m_powerMonitor;
    std::unique_ptr<SystemHUDMonitor> m_hudMonitor;
    std::unique_ptr<TimerStore> m_timer;
};
