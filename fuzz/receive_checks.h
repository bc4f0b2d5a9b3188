// What must hold in the main dialog whatever datagrams it received. Each broken invariant
// aborts (check.h).
#pragma once

#include <set>
#include <string>
#include <vector>

#include "ui/quorvel_dlg.h"
#include "win/types.h"

namespace fuzz {

// The dotted texts of the addresses the input's datagrams came from.
using SourceAddresses = std::set<std::u16string>;

// At most 200 lines, numbered 1, 2, ... in order, each showing the address of a datagram that
// was received and no more text than the record's fields can hold; each record's interface list
// within what the receive buffer holds.
void CheckListed(const CQuorvelDlg& dialog, const std::vector<std::u16string>& lines,
                 const SourceAddresses& addresses);

// No serial number listed twice (up to its NUL, at most 32 bytes).
void CheckSerialsUnique(const CQuorvelDlg& dialog, std::size_t lineCount);

// Every text the panel holds came out of a 20-byte field: at most 20 UTF-16 units.
void CheckPanelTexts(const CQuorvelDlg& dialog);

// A box "自动获取" that is checked has disabled address controls, an unchecked one enabled.
void CheckAutoBox(win::HWND window, int boxId, const std::vector<int>& addressIds);

// A double click opened exactly one URL, the web page at one of the sources.
void CheckOpenedPage(const std::vector<std::u16string>& urls, std::size_t before,
                     const SourceAddresses& addresses);

}  // namespace fuzz
