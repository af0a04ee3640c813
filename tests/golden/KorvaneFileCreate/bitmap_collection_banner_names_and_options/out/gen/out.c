/**********************************************************************
   Author:       Korvane firmware tools group

   Company:      Korvane Devices
   Address:      Harbour Road 1, Port Korvane
   Country:      Korvania

   Web:          korvane.example  Contact: tools@korvane.example

   ---------------------------------------------------------------------
   File:         ./gen//out.c (created by KorvaneFileCreate V1.9)

   Project:      Korvane GLCD firmware
   ---------------------------------------------------------------------
   Copyright (c) Korvane Devices. All rights reserved.
   *********************************************************************

This file is not linked directly in the project but is included by the GLCD task file

*/ 

static const unsigned char logo_inverted[] = {
0x00,0x00,0x0C,0x00,0x02,
0x5A,0x0F,0xF0,0xCF,};

static const unsigned char array[] = {
0x00,0x00,0x0C,0x00,0x02,
0xA5,0xF0,0x0F,0x30,};

static const unsigned char both[] = {
0x00,0x00,0x0C,0x00,0x02,
0xF0,0xCF,0x5A,0x0F,};

static const unsigned char plain[] = {
0x00,0x00,0x0C,0x00,0x02,
0xA5,0xF0,0x0F,0x30,};

