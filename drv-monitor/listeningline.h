#pragma once

#include <QString>

#include <memory>

// A serial line opened to listen only.
//
// The device is opened for reading alone (a write could not even be made),
// as no controlling terminal, and ours alone (TIOCEXCL) while it is open. It
// is set to raw mode with the given rate, byte size, parity and stop bits at
// once, so the terminal layer neither echoes a received byte back onto the
// bus nor changes one, and what arrived before that is dropped. The modem
// lines are left alone: nothing here sets or clears DTR or RTS, and hardware
// flow control, which would drive RTS, is off. (Opening any serial line on
// Linux raises DTR and RTS, and its last closing drops them when HUPCL is
// set, as it is by default; the settings found at opening, HUPCL with them,
// are put back at closing.)
class ListeningLine
{
public:
    struct Settings
    {
        QString device; // "\\.\NAME" opens /dev/NAME; any other name as given
        int baudRate = 115200;
        char parity = 'N';
        int dataBits = 8;
        int stopBits = 1;
    };

    ListeningLine();
    ~ListeningLine();
    ListeningLine(const ListeningLine &) = delete;
    ListeningLine &operator=(const ListeningLine &) = delete;

    // Opens and sets up the line; false with errno set on failure.
    bool open(const Settings &settings);
    // The descriptor to wait on for input; -1 when closed.
    int descriptor() const;
    // Reads what has arrived, at most size bytes: their count, 0 when none
    // has, -1 with errno set when the line has failed or gone (EIO).
    int read(unsigned char *buffer, int size);
    // Puts the settings found back and closes; nothing when closed.
    void close();

    struct State;

private:
    std::unique_ptr<State> state;
};
