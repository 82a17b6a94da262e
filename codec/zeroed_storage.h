// Marks a zero-filled static object that must take no room in the program
// file. With -fdata-sections the MinGW compiler gives every zero-filled
// object a section of initialised data, which the stub would carry as file
// bytes; naming .bss keeps such objects in memory that the loader zeroes.
// Objects so marked must have no initialiser other than zero.
#pragma once

#define KELVARIN_ZEROED_STORAGE __attribute__((section(".bss")))
