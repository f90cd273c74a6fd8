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

struct Platform {
    SecretStore *secrets = nullptr;                          // keeps the Canvas token
    LoginItem *loginItem = nullptr;                          // starts the program at login
    PermissionBackend *permissions = nullptr;                // what the system lets the program use
    AudioOutput *audio = nullptr;                            // output volume and mute
    Backlight *backlight = nullptr;                          // built-in display brightness
    MediaKeyCapture *mediaKeys = nullptr;                    // volume and brightness keys
    IdleTime *idleTime = nullptr;                            // time since the last input
    LowPowerMode *lowPowerMode = nullptr;                    // the power-saver state
    BluetoothService *bluetooth = nullptr;                   // paired devices and their connections
    platform::IPowerSupply *powerSupply = nullptr;           // batteries and mains
    platform::ISystemLoad *systemLoad = nullptr;             // processor, memory, disk and uptime
    platform::INetworkInterfaces *networkInterfaces = nullptr; // the machine's addresses
    platform::IWifiInfo *wifi = nullptr;                     // the Wi-Fi network's name
    platform::IReachability *reachability = nullptr;         // whether any network is reachable
    platform::IClipboard *clipboard = nullptr;               // the system clipboard
    platform::IScreenGrabber *screenGrabber = nullptr;       // screenshots
    platform::IAppLauncher *appLauncher = nullptr;           // opens applications and addresses
    platform::IDisplaySleepInhibitor *displaySleep = nullptr; // keeps the display awake
    platform::ILocationProvider *location = nullptr;         // where the machine is
    platform::IReverseGeocoder *geocoder = nullptr;          // names a position's town
    platform::ICalendarSource *calendar = nullptr;           // calendar events and open tasks
    ScreenProvider *screens = nullptr;                       // the displays
    PointerLocation *pointer = nullptr;                      // where the pointer is
    GlobalClickMonitor *clicks = nullptr;                    // mouse presses anywhere on the desktop
    GlobalHotkey *gameModeHotkey = nullptr;                  // Ctrl+Alt+G whoever has the keyboard
    KeyPositions *keyPositions = nullptr;                    // which key was pressed, by its place
    IslandWindowHints *windowHints = nullptr;                // the island window's place among windows
    Workspace *workspace = nullptr;                          // other programs' windows
    ActivationPolicy *activation = nullptr;                  // accessory or ordinary application
    StatusTray *tray = nullptr;                              // the icon in the desktop's status area
    platform::IZipper *zipper = nullptr;                     // writes zip archives
    platform::IFilePicker *filePicker = nullptr;             // the open dialog for files and folders
    platform::IProcessRunner *processes = nullptr;           // runs the user's command-line tools
    platform::IToolLocator *tools = nullptr;                 // finds those tools
    platform::IMicRecorder *micRecorder = nullptr;           // records the microphone
    platform::IAudioPlayer *audioPlayer = nullptr;           // plays a recorded take
    platform::ISoundPlayer *sounds = nullptr;                // the bell and the alert sound
    platform::IMicRecorder *memoRecorder = nullptr;          // records voice memos
    platform::IAudioPlayer *memoPlayer = nullptr;            // plays voice memos
    platform::IMediaPlayers *mediaPlayers = nullptr;         // what the desktop's players play
    platform::IMediaKeySender *mediaKeySender = nullptr;     // synthesised play/next/previous keys
    platform::ICamera *camera = nullptr;                     // the camera facing the user
    platform::IFaceDetector *faceDetector = nullptr;         // faces in a camera picture
    platform::IFileRevealer *fileRevealer = nullptr;         // shows a file in the file manager
};
