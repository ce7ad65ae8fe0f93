# SPDX-License-Identifier: GPL-2.0-or-later
# The program's version and what is made from it, run at every build (cmake -P):
#
#   cmake -DSOURCE_DIR=... -DOUTPUT_DIR=... -DFALLBACK_VERSION=0.3.0
#         -DMAINTAINER="Name <mail>" -DMETAINFO_IN=... -DMETAINFO_OUT=... -P version.cmake
#
# The version is `git describe --tags --match 'v*'` of the source folder without the
# "v": "0.3.0" on a tagged commit, "0.3.0+5.g1a2b3c4" five commits after it (a Debian
# version that sorts after 0.3.0). Without git or without a tag (a tarball, a shallow
# clone) it is FALLBACK_VERSION. The releases in CHANGELOG.md give the dates and the
# notes; a version that CHANGELOG.md does not list is a development build, dated by its
# commit. Written into OUTPUT_DIR, each only when its content changes, so an unchanged
# version rebuilds nothing:
#   dilboscan_version.h  DILBOSCAN_VERSION, for the program
#   version.cmake        DILBO_VERSION and DILBO_RELEASE_DATE, for cpack and installing
#   changelog.gz         the Debian changelog (gzip -9n)
# and METAINFO_OUT, the AppStream description with its <releases>.

cmake_minimum_required(VERSION 3.25)

function(write_if_changed path content)
    if(EXISTS "${path}")
        file(READ "${path}" old)
        if(old STREQUAL content)
            return()
        endif()
    endif()
    file(WRITE "${path}" "${content}")
endfunction()

# "Tue, 08 Dec 2026 12:00:00 +0000" for 2026-12-08 and the time 12:00:00, as Debian
# changelogs date entries.
function(rfc2822_date iso time out)
    string(REGEX MATCH "^([0-9]+)-0?([0-9]+)-0?([0-9]+)$" matched "${iso}")
    set(y ${CMAKE_MATCH_1})
    set(m ${CMAKE_MATCH_2})
    set(d ${CMAKE_MATCH_3})
    # Sakamoto's day of the week (0 = Sunday).
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    math(EXPR mi "${m} - 1")
    list(GET offsets ${mi} offset)
    if(m LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR wd "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${d}) % 7")
    set(days Sun Mon Tue Wed Thu Fri Sat)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(GET days ${wd} day)
    list(GET months ${mi} month)
    string(SUBSTRING "${iso}" 8 2 dd)
    string(SUBSTRING "${iso}" 0 4 yyyy)
    set(${out} "${day}, ${dd} ${month} ${yyyy} ${time} +0000" PARENT_SCOPE)
endfunction()

function(xml_escape text out)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The version.
set(version "${FALLBACK_VERSION}")
set(commit_date "")
set(commit "")
find_package(Git QUIET)
if(GIT_FOUND)
    # Only the source folder's own checkout counts, not one it happens to lie in.
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --show-toplevel
                    OUTPUT_VARIABLE top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    file(REAL_PATH "${SOURCE_DIR}" source_real)
    if(NOT top STREQUAL "")
        file(REAL_PATH "${top}" top)
    endif()
    if(NOT top STREQUAL source_real)
        set(GIT_FOUND FALSE)
    endif()
endif()
if(GIT_FOUND)
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" describe --tags --match "v*"
                    OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE described_status ERROR_QUIET)
    if(described_status EQUAL 0 AND described MATCHES "^v([0-9][0-9.]*)(-([0-9]+)-(g[0-9a-f]+))?$")
        set(version "${CMAKE_MATCH_1}")
        if(CMAKE_MATCH_2)
            set(version "${version}+${CMAKE_MATCH_3}.${CMAKE_MATCH_4}")
        endif()
    endif()
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" log -1 --format=%cs:%h
                    OUTPUT_VARIABLE head OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE head_status ERROR_QUIET)
    if(head_status EQUAL 0 AND head MATCHES "^([0-9-]+):([0-9a-f]+)$")
        set(commit_date "${CMAKE_MATCH_1}")
        set(commit "${CMAKE_MATCH_2}")
    endif()
endif()

# The releases of CHANGELOG.md, newest first: release_versions, and for each version V
# release_date_V and release_items_V (one list element per item). CMake lists split at
# ";" except inside square brackets, so ";", "[" and "]" are kept as the characters
# SEMI, OPEN and CLOSE until written.
string(ASCII 1 SEMI)
string(ASCII 2 OPEN)
string(ASCII 3 CLOSE)
file(READ "${SOURCE_DIR}/CHANGELOG.md" changelog)
string(REPLACE ";" "${SEMI}" changelog "${changelog}")
string(REPLACE "[" "${OPEN}" changelog "${changelog}")
string(REPLACE "]" "${CLOSE}" changelog "${changelog}")
string(REPLACE "\n" ";" lines "${changelog}")
set(release_versions "")
set(current "")
set(number 0)
foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(line MATCHES "^## ${OPEN}([0-9][^${CLOSE}]*)${CLOSE} - ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])$")
        set(current "${CMAKE_MATCH_1}")
        list(APPEND release_versions "${current}")
        set(release_date_${current} "${CMAKE_MATCH_2}")
        set(release_items_${current} "")
    elseif(line MATCHES "^## ")
        message(FATAL_ERROR "CHANGELOG.md:${number}: a release heading is \"## [VERSION] - YYYY-MM-DD\"")
    elseif(current STREQUAL "" OR line STREQUAL "")
        # The introduction, and the blank lines between items.
    elseif(line MATCHES "^- (.*)$")
        list(APPEND release_items_${current} "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  +([^ ].*)$" AND release_items_${current})
        list(POP_BACK release_items_${current} item)
        list(APPEND release_items_${current} "${item} ${CMAKE_MATCH_1}")
    else()
        message(FATAL_ERROR "CHANGELOG.md:${number}: a release holds items that start with \"- \"")
    endif()
endforeach()
if(NOT release_versions)
    message(FATAL_ERROR "CHANGELOG.md names no release")
endif()
if(NOT FALLBACK_VERSION IN_LIST release_versions)
    message(FATAL_ERROR "CHANGELOG.md has no release ${FALLBACK_VERSION}, the version in CMakeLists.txt")
endif()

# A build of a version that CHANGELOG.md lists is that release; any other is a
# development build, the newest entry.
set(development "")
if(version IN_LIST release_versions)
    set(release_date "${release_date_${version}}")
else()
    if(commit_date STREQUAL "")
        string(TIMESTAMP commit_date "%Y-%m-%d" UTC)
    endif()
    list(GET release_versions 0 newest)
    # Never dated before the newest release: the changelog's dates must rise.
    if(commit_date STRLESS release_date_${newest})
        set(commit_date "${release_date_${newest}}")
    endif()
    set(release_date "${commit_date}")
    set(development "${version}")
    set(release_items_${version} "Development build of commit ${commit}, after ${newest}.")
    set(release_date_${version} "${release_date}")
    list(PREPEND release_versions "${version}")
endif()

# Each entry of a Debian changelog must be dated later than the one before, but
# CHANGELOG.md dates releases by the day: the entries of one day are timed 12:00, 12:01
# and on, oldest first.
set(oldest_first ${release_versions})
list(REVERSE oldest_first)
foreach(v IN LISTS oldest_first)
    set(day "${release_date_${v}}")
    if(NOT DEFINED released_on_${day})
        set(released_on_${day} 0)
    endif()
    if(released_on_${day} LESS 10)
        set(release_time_${v} "12:0${released_on_${day}}:00")
    else()
        set(release_time_${v} "12:${released_on_${day}}:00")
    endif()
    math(EXPR released_on_${day} "${released_on_${day}} + 1")
endforeach()

# The Debian changelog: one entry per release, its items as "  * " lines wrapped below
# 80 columns.
set(debian "")
set(appstream "")
foreach(v IN LISTS release_versions)
    rfc2822_date("${release_date_${v}}" "${release_time_${v}}" when)
    string(APPEND debian "dilboscan (${v}) unstable; urgency=medium\n\n")
    set(notes "")
    foreach(item IN LISTS release_items_${v})
        string(REPLACE "${SEMI}" ";" item "${item}")
        string(REPLACE "${OPEN}" "[" item "${item}")
        string(REPLACE "${CLOSE}" "]" item "${item}")
        # Word-wrap at 76 columns for "  * " and "    ".
        # Markdown's code quotes are left out of the plain text.
        string(REPLACE "`" "" words "${item}")
        string(REPLACE ";" "${SEMI}" words "${words}")
        string(REPLACE "[" "${OPEN}" words "${words}")
        string(REPLACE "]" "${CLOSE}" words "${words}")
        string(REPLACE " " ";" words "${words}")
        set(row "  *")
        foreach(word IN LISTS words)
            string(LENGTH "${row} ${word}" width)
            if(width GREATER 78 AND NOT row MATCHES "^ *\\*?$")
                string(APPEND debian "${row}\n")
                set(row "   ")
            endif()
            string(REPLACE "${SEMI}" ";" word "${word}")
            string(REPLACE "${OPEN}" "[" word "${word}")
            string(REPLACE "${CLOSE}" "]" word "${word}")
            string(APPEND row " ${word}")
        endforeach()
        string(APPEND debian "${row}\n")
        xml_escape("${item}" item)
        string(REGEX REPLACE "`([^`]*)`" "<code>\\1</code>" item "${item}")
        string(APPEND notes "          <li>${item}</li>\n")
    endforeach()
    string(APPEND debian "\n -- ${MAINTAINER}  ${when}\n\n")
    if(v STREQUAL development)
        set(type " type=\"development\"")
    else()
        set(type "")
    endif()
    string(APPEND appstream "    <release version=\"${v}\" date=\"${release_date_${v}}\"${type}>\n"
           "      <description>\n        <ul>\n${notes}        </ul>\n      </description>\n"
           "    </release>\n")
endforeach()
string(STRIP "${debian}" debian)

file(MAKE_DIRECTORY "${OUTPUT_DIR}")
write_if_changed("${OUTPUT_DIR}/dilboscan_version.h"
                 "// Made by tools/version.cmake at build time.\n#define DILBOSCAN_VERSION \"${version}\"\n")
write_if_changed("${OUTPUT_DIR}/version.cmake"
                 "set(DILBO_VERSION \"${version}\")\nset(DILBO_RELEASE_DATE \"${release_date}\")\n")
# The compressed changelog is made again only when its text changes; gzip -n leaves the
# name and time out, so the same text always gives the same bytes.
set(before "")
if(EXISTS "${OUTPUT_DIR}/changelog")
    file(READ "${OUTPUT_DIR}/changelog" before)
endif()
if(NOT before STREQUAL "${debian}\n" OR NOT EXISTS "${OUTPUT_DIR}/changelog.gz")
    file(WRITE "${OUTPUT_DIR}/changelog" "${debian}\n")
    execute_process(COMMAND gzip -9n -c "${OUTPUT_DIR}/changelog"
                    OUTPUT_FILE "${OUTPUT_DIR}/changelog.gz" RESULT_VARIABLE gzipped)
    if(NOT gzipped EQUAL 0)
        message(FATAL_ERROR "gzip failed on ${OUTPUT_DIR}/changelog")
    endif()
endif()

set(DILBO_RELEASES "${appstream}")
string(STRIP "${DILBO_RELEASES}" DILBO_RELEASES)
file(READ "${METAINFO_IN}" metainfo)
string(CONFIGURE "${metainfo}" metainfo @ONLY)
write_if_changed("${METAINFO_OUT}" "${metainfo}")
