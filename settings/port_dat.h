// "Port.dat": the remembered port, baud rate and protocol, three lines of
// "key&code" separated by CR LF, no line end after the third.
#pragma once

#include <optional>
#include <string>

// The codes of the file's first three lines, in order. A line without "&", or
// whose text after the first "&" is not a plain decimal number (negative,
// blank, other text, more than nine digits), gives no code; a missing line
// reads as empty. CR LF, a lone LF and a lone CR all end a line.
struct PortDatCodes {
  std::optional<int> port;
  std::optional<int> baud;
  std::optional<int> protocol;
};
PortDatCodes ReadPortDat(const std::string& text);

// The file's text; a negative baud or protocol code leaves that code out.
std::string PortDatText(int portCode, int baudCode, int protocolCode);
