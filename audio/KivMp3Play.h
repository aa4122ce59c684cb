#pragma once
// TKivMp3Play: the MP3 player component without its widget. It plays one file through the
// audio library, measures play times, pauses, resumes, stops and seeks, reports progress on
// each tick of its 50 ms timer and draws the spectrum of what is playing into its surface.
// The owner of the real timer (the GUI's QTimer, the command line's loop, a test) watches
// Timer() and calls TimerTick while it is enabled; a widget shows Surface() while
// FrameShown() and repaints on OnInvalidate. Everything runs on the owner's thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "audio/BassApi.h"
#include "audio/spectrum_vis.h"
#include "imaging/Bitmap.h"

namespace velmora {

/// The player's tick timer: enabled or not, and its interval. The owner of the real timer
/// follows it through OnChange.
struct TPlayerTimer {
    bool Enabled = false;
    int Interval = 50;  ///< milliseconds
    std::function<void(bool enabled)> OnChange;

    void SetEnabled(bool enabled) {
        if (Enabled == enabled) return;
        Enabled = enabled;
        if (OnChange) OnChange(enabled);
    }
};

/// Progress report: the sender (the player's timer on ticks, null on a stop), the file's
/// length in bytes, the position heard now in file bytes, and the elapsed time as "mm:ss".
using TOnProgressEvent = std::function<void(const void* sender, std::int32_t trackBarMax,
                                            std::int32_t trackBarPos, const std::string& curTime)>;

class TKivMp3Play {
public:
    /// A player of width x height pixels on `bass`; initialises and starts the audio output
    /// (results ignored, so a second player on the same library constructs normally).
    explicit TKivMp3Play(TBassApi& bass, int width = 97, int height = 25,
                         void* windowHandle = nullptr);
    /// Stops the channel and releases the stream.
    ~TKivMp3Play();
    TKivMp3Play(const TKivMp3Play&) = delete;
    TKivMp3Play& operator=(const TKivMp3Play&) = delete;

    // Published properties. Colours are 0xRRGGBB; the spectrum takes them at SetFileName.
    TOnProgressEvent OnProgress;
    std::uint32_t BackColor = 0x000000;
    std::uint32_t Pen = 0xFFFFFF;
    std::uint32_t Peak = 0xFFFF00;
    std::int32_t LineWidth = 3;
    std::int32_t LineFallOff = 6;
    /// Called when the surface changes: a new spectrum frame or a blanking repaint.
    std::function<void()> OnInvalidate;

    const std::string& FileName() const noexcept { return FFileName; }
    /// New spectrum display, stop when open, store the name, blank the surface. Never plays.
    void SetFileName(const std::string& value);

    /// Starts FileName from the beginning, or resumes the open stream.
    void Play();
    void Pause();
    /// Stops and reports position 0 with "00:00".
    void Stop();
    /// Pauses and suspends progress reports until SeekTo or Stop.
    void HoldForSeek();
    /// Moves to the point that a position in file bytes stands for and plays.
    void SeekTo(std::int32_t position);
    /// Play time of FileName in seconds, measured without playing it.
    float GetPlayLength();
    /// The timer's handler: ends at the file's end, else draws the spectrum and reports
    /// with the timer as sender.
    void TimerTick();

    /// Seconds as "mm:ss": minutes modulo 60, hours not shown.
    static std::string MinSecText(std::int32_t seconds);

    /// Size of the control; the spectrum takes it at the next SetFileName.
    void SetSize(int width, int height);
    int Width() const noexcept { return FSurface.Width(); }
    int Height() const noexcept { return FSurface.Height(); }
    /// What the control shows: the last spectrum frame, while FrameShown().
    const Bitmap& Surface() const noexcept { return FSurface; }
    bool FrameShown() const noexcept { return FFrameShown; }
    TPlayerTimer& Timer() noexcept { return FTimer; }
    const TPlayerTimer& Timer() const noexcept { return FTimer; }
    const TSpectrum* Spectrum() const noexcept { return FSpectrum.get(); }

    // The state the ticks work on, for views and tests.
    HSTREAM Stream() const noexcept { return FStream; }
    std::uint32_t ByteLength() const noexcept { return FByteLength; }
    std::int32_t Seconds() const noexcept { return FSeconds; }
    std::int32_t FileEnd() const noexcept { return FFileEnd; }
    std::int32_t Position() const noexcept { return FPosition; }
    bool Opened() const noexcept { return FOpened; }
    bool Reporting() const noexcept { return FReporting; }

private:
    void Repaint();
    void ReleaseStream();

    TBassApi& FBass;
    std::string FFileName;
    HSTREAM FStream = 0;
    std::uint32_t FByteLength = 0;
    std::int32_t FSeconds = 0;
    std::int32_t FFileEnd = 0;
    std::int32_t FPosition = 0;
    bool FOpened = false;
    bool FReporting = true;
    TPlayerTimer FTimer;
    std::unique_ptr<TSpectrum> FSpectrum;
    Bitmap FSurface;
    bool FFrameShown = false;
    TFFTData FFftData{};
};

}  // namespace velmora
