// The log file writer: a text saved in one of three encodings, stamped with a given time,
// never over a file that another program holds open and never on a CD or an unknown drive.
#pragma once

#include <cstdint>
#include <string>

// Takes the current UTC time, converts text to the ANSI code page (characters it cannot hold
// become its default character) and writes it with WriteTextFile.
bool SaveTextFile(const std::u16string& fileName, const std::u16string& text, int alternatives, std::uint8_t encoding);

// Writes ansiText to fileName or to the first of its numbered alternatives (CandidateFileName
// in save_file_rules.h, numbers up to alternatives-1) that no one holds open, in an encoding:
// 0 the ANSI bytes, 1 UTF-8 with its byte-order mark, 2 UTF-16LE with its byte-order mark.
// The directory is created first. The file's creation, access and write times become fileTime.
// True when the text itself was written. False, touching nothing, for an empty name or text,
// a refused drive (unknown, no root, CD) or when every candidate is in use. An unknown encoding
// leaves an empty, stamped file and false. Raises EFCreateError when the chosen file cannot be
// created.
bool WriteTextFile(const std::u16string& fileName, const std::string& ansiText, std::uint64_t fileTime,
                   int alternatives, std::uint8_t encoding);

// True when fileName exists and cannot be opened for reading and writing without sharing
// (someone holds it open, or access is denied). False when there is no such file.
bool IsFileInUse(const std::u16string& fileName);

// The current time in UTC as a file time (100 ns since 1601-01-01).
std::uint64_t GetUTCFileTime();
