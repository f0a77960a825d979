// The Vorbis setup header's codebooks, read before libvorbisfile sees the
// stream. libvorbis takes a setup header whose codeword lengths do not make a
// whole prefix code (one length changed by a damaged byte is enough): the
// header is accepted, building the decoder then fails half-way, and the next
// read decodes with the codebooks it never built, dividing by their zero
// dimension. A codebook of dimension 0 divides by zero the same way when a
// residue uses it. So every codebook is read here, within the packet, and
// one the decoder could not build is refused.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qor {

enum VorbisSetupFault : int {
  kVorbisSetupSound = 0,
  kVorbisSetupNotSetup,   // the packet is not a Vorbis setup header
  kVorbisSetupCut,        // a codebook runs past the end of the packet
  kVorbisSetupSync,       // a codebook does not start with its sync pattern
  kVorbisSetupDimension,  // a codebook of dimension 0
  kVorbisSetupLengths,    // codeword lengths over 32, or not a whole prefix code
  kVorbisSetupLookup,     // a lookup type other than 0, 1 and 2
};

struct VorbisSetupCheck {
  VorbisSetupFault fault;
  int codebook;  // the codebook at fault (-1 before the first)
};

// Reads the codebooks of one setup header packet (whole, reassembled from
// its pages). 0 when the decoder can build them all; -1 otherwise, with the
// reason in `check`.
int CheckVorbisSetupHeader(const uint8_t* packet, size_t size, VorbisSetupCheck* check);

// The short name of a fault, as the log line gives it.
const char* VorbisSetupFaultName(VorbisSetupFault fault);

}  // namespace qor
