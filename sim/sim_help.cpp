// The text of zelta-camsim --help.
#include "link/ptz_protocols.h"
#include "sim/sim_options.h"

std::string SimHelpText() {
  return R"(Usage: zelta-camsim [options]

Simulates a CCTV camera (or a line of them) for the ZELTA set-up tool. Without
--device it opens a pseudo-terminal and prints the path of its slave side in
the ready line; the tool (or a test) opens that path like a serial port.

Line:
  --device PATH        serve a real serial port instead (e.g. across a
                       null-modem cable); it is locked like ZELTA locks it
  --link PATH          make PATH a symbolic link to the pseudo-terminal (a
                       stale link is replaced; removed again on exit), e.g.
                       --link /tmp/x/Com1 lets ZELTA find the camera as Com1
  --address N          camera address 1..255 (default 1)
  --cameras LIST       several cameras on the one line, e.g. 1-8,12,20-22; each
                       has its own settings and answers only its own address
  --duplicate LIST     a second camera at each of these addresses: both
                       answer at once, and the tool hears one garbled reply
                       (the bytes ANDed, the checksum wrong); Get Protocol
                       State to address 0 collides likewise on a line of several
  --silent LIST        cameras that never answer (as --silent-after ADDR:0)
  --baud N             the camera's own rate: 1200, 2400, 4800 or 9600
                       (default 4800); frames sent at another line speed
                       are ignored, so a search finds it at this rate only
  --protocol NAME      PTZ protocol it obeys: )" +
         PtzCommandNameList() + R"(
                       (default pelco-p)

Starting values (any byte, so odd values can be served). These and --refuse,
--silent-after and --silent-for apply to every camera, or to one when the value
starts with its address: --set 3:SHUTTER=2, --refuse 5:GAIN, --silent-after 2:10,
--id 4:GATE (--id only with --cameras or --duplicate); a camera's own value wins.
  --set ITEM=VALUE     e.g. --set SHUTTER=3, --set "WHITE BAL"=1, --set 0x81=40;
                       ITEM is a code or a name: D/N-MODE D/N-LEVEL D/N-FIL
                       SHUTTER GAIN SYNC BLC APERTURE WHITE-BAL ID-POS GAMMA
                       PREDTMSP Red Blue COL>BW-DELAY (0x21) BW>COL-DELAY (0x22)
  --id TEXT            ID text (up to 16 of A-Z 0-9 blank < > - . , ; * / :),
                       padded with blanks; without it the ID is 16 zero bytes
  --id-hex BYTES        ID memory as any bytes in hex (up to 16, padded with
                       blanks), e.g. 41FF0D0A26 for "A", 0xFF, CR, LF, "&"
  --white-bal N        WHITE BAL value (3 and above mean MANUAL)
  --delay-code N       both day/night delay codes (0..3, or 0x50)

Behaviours:
  --iris               the camera reports SHUTTER 9 (IRIS) until a shutter
                       value is written
  --dc-sync            the camera reports SYNC 2 (---) and keeps it on writes
  --ai-lens            refuses a write of SHUTTER 0 (AUTO) and answers with its
                       own shutter value (with --iris that is 9, as on a
                       camera with an auto-iris lens)
  --refuse ITEM        answers writes of ITEM with another value and keeps its
                       own (may be given more than once)
  --reply-delay MS     waits MS milliseconds before each reply
  --adapter-latency MS hands each piece of a reply over MS milliseconds late,
                       as a USB adapter's latency timer does
  --line-timing        takes a request as heard once its bytes would have
                       crossed the line, and sends each reply byte after the
                       time it takes at the line's speed (10 bits a byte)
  --split              sends each reply in three pieces with 30 ms gaps
  --noise RATE         before a reply, with chance RATE (0..1), sends 1 to 3
                       random bytes (never 0xCC)
  --corrupt RATE       with chance RATE per reply, flips one bit of one of its
                       bytes or leaves one byte out (the trace says which)
  --corrupt-requests RATE
                       the same to each request the camera hears; it ignores
                       a damaged request as a real camera does
  --seed N             seed of the noise and the damage (default 1)
  --silent-after N     answers N replies, then nothing more
  --silent-for MS      with --silent-after: answers again MS milliseconds after
                       the first request it left unanswered, as a camera that
                       lost its power for a while
  --unplug-after N     after N replies on the line, acts as an adapter pulled
                       out: closes the pseudo-terminal and removes the --link
  --replug-after MS    MS milliseconds after that, plugs it in again: a new
                       pseudo-terminal behind the same --link, the cameras as
                       they were
  --state-dir DIR      keeps each camera's settings in DIR between runs: reads
                       DIR/camera-017.txt (for address 17) at start, over the
                       options above, and writes it whenever the camera takes
                       a write; delete it for factory settings

Output:
  --trace FILE         write the trace to FILE instead of standard output
  --trace-us           stamp trace lines with the system's monotonic clock
                       (CLOCK_MONOTONIC) in seconds and microseconds, so a
                       program on the same machine can line them up with
                       its own timing
  --help               show this text
  --version            show the version

The camera answers poll 0x02 with 0x82, read 0x01 with 0x81, write 0x03 with
0x83 (the value it holds afterwards), Get Protocol State 0x04 (address 0)
with 0x84 (address, baud code, PTZ protocol code); ProtocolSpeed 0x06 is
logged. Frames with a wrong checksum, for another address, or cut off for
200 ms are dropped. PTZ frames in its own protocol move its on-screen menu:
preset 95 opens it, Up/Down move the cursor, Select enters or leaves an entry
(inside an entry Up/Down change the value), Select on EXIT closes it;
presets 88 (Colour) and 89 (White balance) are recorded. The menu is printed
on standard output whenever it changes.

Trace: one line per frame in or out:
  <seconds.ms> RX|TX <hex bytes> <meaning>
  e.g. 12.345 RX CC 01 01 01 02 00 00 00 00 04 poll addr 1 proto PELCO P

Exit status: 0 after SIGINT or SIGTERM, 1 when the line cannot be opened,
2 for a bad command line.
)";
}
