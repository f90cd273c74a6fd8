#pragma once

// Every capability the program takes from the machine, as one bundle of
// interfaces. The composition root fills it with the Linux backends and hands
// it on; tests fill it with fakes. The bundle owns nothing.

namespace platform {
class IActivationPolicy;
class IAudioOutput;
class IGlobalClickMonitor;
class IGlobalHotkey;
class IIslandWindowHints;
class IKeyPositions;
class IPointerLocation;
class IScreenProvider;
class IStatusTray;
class IWorkspace;
class IBacklight;
class IBluetoothService;
class IIdleTime;
class ILoginItem;
class ILowPowerMode;
class IMediaKeyCapture;
class IPermissionBackend;
class ISecretStore;
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
class IWebFetcher;
} // namespace platform

// Every capability as (interface, name), commented. This is their one list:
// it gives Platform its fields, and the composition root fills them and
// takes replacements by it.
#define PAVLET_PLATFORM_PARTS(X) \
    X(platform::ISecretStore, secrets)                 /* keeps the Canvas token */ \
    X(platform::ILoginItem, loginItem)                 /* starts the program at login */ \
    X(platform::IPermissionBackend, permissions)       /* what the system lets the program use */ \
    X(platform::IAudioOutput, audio)                   /* output volume and mute */ \
    X(platform::IBacklight, backlight)                 /* built-in display brightness */ \
    X(platform::IMediaKeyCapture, mediaKeys)           /* volume and brightness keys */ \
    X(platform::IIdleTime, idleTime)                   /* time since the last input */ \
    X(platform::ILowPowerMode, lowPowerMode)           /* the power-saver state */ \
    X(platform::IBluetoothService, bluetooth)          /* paired devices and their connections */ \
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
    X(platform::IScreenProvider, screens)              /* the displays */ \
    X(platform::IPointerLocation, pointer)             /* where the pointer is */ \
    X(platform::IGlobalClickMonitor, clicks)           /* mouse presses anywhere on the desktop */ \
    X(platform::IGlobalHotkey, gameModeHotkey)         /* Ctrl+Alt+G whoever has the keyboard */ \
    X(platform::IKeyPositions, keyPositions)           /* which key was pressed, by its place */ \
    X(platform::IIslandWindowHints, windowHints)       /* the island window's place among windows */ \
    X(platform::IWorkspace, workspace)                 /* other programs' windows */ \
    X(platform::IActivationPolicy, activation)         /* accessory or ordinary application */ \
    X(platform::IStatusTray, tray)                     /* the icon in the desktop's status area */ \
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
    X(platform::IFileRevealer, fileRevealer)           /* shows a file in the file manager */ \
    X(platform::IWebFetcher, webFetcher)               /* the update check's fetches, away from the program */

struct Platform {
#define PAVLET_PLATFORM_FIELD(Interface, name) Interface *name = nullptr;
    PAVLET_PLATFORM_PARTS(PAVLET_PLATFORM_FIELD)
#undef PAVLET_PLATFORM_FIELD
};
