#pragma once
// The in-memory copy of the digest made last, so the player's open of the digest it just
// made costs no file read. Off until the repeater library switches it on.
namespace mvx {

void SetKeepLastDigest(bool on);
void DropLastDigest();

} // namespace mvx
