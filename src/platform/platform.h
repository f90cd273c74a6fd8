#pragma once

// Every capability the program takes from the machine, as one bundle of
// interfaces. The composition root fills it with the Linux backends and hands
// it on; tests fill it with fakes. The bundle owns nothing.

class ActivationPolicy;
class AudioOutput;
class GlobalClickMonitor;
class GlobalHotkey;
class IslandWindowHints;
class KeyPositions;
class PointerLocation;
class ScreenProvider;
class StatusTray;
class Workspace;
class Backlight;
class BluetoothService;
class IdleTime;
class LoginItem;
class LowPowerMode;
class MediaKeyCapture;
class PermissionBackend;
class SecretStore;

namespace platform {
class IAppLauncher;
class ICamera;
class IFaceDetector;
class IFileRevealer;
class IMediaKeySender;
class IMediaPlayers;
class ICalendarSource;
class IClipboard;
class IDisplaySleepInhibitor;
class ILocationProvider;
class INetworkInterfaces;
class IPowerSupply;
class IReachability;
class IReverseGeocoder;
class IScreenGrabber;
class ISystemLoad;
class IWifiInfo;
class IZipper;
class IFilePicker;
class IProcessRunner;
class IToolLocator;
class IMicRecorder;
class IAudioPlayer;
class ISoundPlayer;
} // namespace platform

// Every capability as (interface, name), commented. This is their one list:
// it gives Platform its fields, and the composition root fills them and
// takes replacements by it.
#define PAVLET_PLATFORM_PARTS(X) \
    X(SecretStore, secrets)                            /* keeps the Canvas token */ \
    X(LoginItem, loginItem)                            /* starts the program at login */ \
    X(PermissionBackend, permissions)                  /* what the system lets the program use */ \
    X(AudioOutput, audio)                              /* output volume and mute */ \
    X(Backlight, backlight)                            /* built-in display brightness */ \
    X(MediaKeyCapture, mediaKeys)                      /* volume and brightness keys */ \
    X(IdleTime, idleTime)                              /* time since the last input */ \
    X(LowPowerMode, lowPowerMode)                      /* the power-saver state */ \
    X(BluetoothService, bluetooth)                     /* paired devices and their connections */ \
    X(platform::IPowerSupply, powerSupply)             /* batteries and mains */ \
    X(platform::ISystemLoad, systemLoad)               /* processor, memory, disk and uptime */ \
    X(platform::INetworkInterfaces, networkInterfaces) /* the machine's addresses */ \
    X(platform::IWifiInfo, wifi)                       /* the Wi-Fi network's name */ \
    X(platform::IReachability, reachability)           /* whether any network is reachable */ \
    X(platform::IClipboard, clipboard)                 /* the system clipboard */ \
    X(platform::IScreenGrabber, screenGrabber)         /* screenshots */ \
    X(platform::IAppLauncher, appLauncher)             /* opens applications and addresses */ \
    X(platform::IDisplaySleepInhibitor, displaySleep)  /* keeps the display awake */ \
    X(platform::ILocationProvider, location)           /* where the machine is */ \
    X(platform::IReverseGeocoder, geocoder)            /* names a position's town */ \
    X(platform::ICalendarSource, calendar)             /* calendar events and open tasks */ \
    X(ScreenProvider, screens)                         /* the displays */ \
    X(PointerLocation, pointer)                        /* where the pointer is */ \
    X(GlobalClickMonitor, clicks)                      /* mouse presses anywhere on the desktop */ \
    X(GlobalHotkey, gameModeHotkey)                    /* Ctrl+Alt+G whoever has the keyboard */ \
    X(KeyPositions, keyPositions)                      /* which key was pressed, by its place */ \
    X(IslandWindowHints, windowHints)                  /* the island window's place among windows */ \
    X(Workspace, workspace)                            /* other programs' windows */ \
    X(ActivationPolicy, activation)                    /* accessory or ordinary application */ \
    X(StatusTray, tray)                                /* the icon in the desktop's status area */ \
    X(platform::IZipper, zipper)                       /* writes zip archives */ \
    X(platform::IFilePicker, filePicker)               /* the open dialog for files and folders */ \
    X(platform::IProcessRunner, processes)             /* runs the user's command-line tools */ \
    X(platform::IToolLocator, tools)                   /* finds those tools */ \
    X(platform::IMicRecorder, micRecorder)             /* records the microphone */ \
    X(platform::IAudioPlayer, audioPlayer)             /* plays a recorded take */ \
    X(platform::ISoundPlayer, sounds)                  /* the bell and the alert sound */ \
    X(platform::IMicRecorder, memoRecorder)            /* records voice memos */ \
    X(platform::IAudioPlayer, memoPlayer)              /* plays voice memos */ \
    X(platform::IMediaPlayers, mediaPlayers)           /* what the desktop's players play */ \
    X(platform::IMediaKeySender, mediaKeySender)       /* synthesised play/next/previous keys */ \
    X(platform::ICamera, camera)                       /* the camera facing the user */ \
    X(platform::IFaceDetector, faceDetector)           /* faces in a camera picture */ \
    X(platform::IFileRevealer, fileRevealer)           /* shows a file in the file manager */

struct Platform {
#define PAVLET_PLATFORM_FIELD(Interface, name) Interface *name = nullptr;
    PAVLET_PLATFORM_PARTS(PAVLET_PLATFORM_FIELD)
#undef PAVLET_PLATFORM_FIELD
};
