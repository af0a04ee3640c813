/**********************************************************************
   Author:       Korvane firmware tools group

   Company:      Korvane Devices
   Address:      Harbour Road 1, Port Korvane
   Country:      Korvania

   Web:          korvane.example  Contact: tools@korvane.example

   ---------------------------------------------------------------------
   File:         out.c (created by KorvaneFileCreate V1.9)

   Project:      Korvane GLCD firmware
   ---------------------------------------------------------------------
   Copyright (c) Korvane Devices. All rights reserved.
   *********************************************************************

This file is not linked directly in the project but is included by the GLCD task file

*/ 

static const unsigned char first[] = {
0x00,0x00,0x0C,0x00,0x02,
0xA5,0xF0,0x0F,0x30,};

