// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

// The program's web sites and documents, and the commands that open them.

/// The product's web site, shown in the information window.
inline constexpr char kProductWebSite[] = "https://dilboscan.example.org";
/// The second web site, whose pages the browser cache may hold too.
inline constexpr char kSecondWebSite[] = "https://recipes.dilboscan.example.org";
/// The page with updates and more.
inline constexpr char kUpdatePage[] = "https://dilboscan.example.org/updates.html";
/// The manual, in the current folder.
inline constexpr char kManualFile[] = "manual.pdf";

/// Opens the manual with the desktop's program for PDF documents; nothing is reported
/// when it is missing.
void OpenManual();

/// Opens the update page in the web browser.
void OpenUpdatePage();

/// Removes the cached pages of both web sites from the system's browser cache, so the
/// update page is fetched fresh.
void PurgeWebSiteCaches();
