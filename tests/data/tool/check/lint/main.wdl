# Every lint rule finds one thing here, and wdlc compiles it all the same
# (except for the CSIV file that is not there, which wdlc leaves out).

INCLUDE header.wdl
FILE_VERSION: 1.3

T: t_intro "Pump setup"
T: t_intro "Pump commissioning"
T: t_speed "Speed"
T: t_yes "Yes"
T: t_no "No"
T: t_save "Save"
T: curve_flash "CURVE"
T: curve_file "files/curve"

LP: lp_speed = 0

SCREEN_OVERLAY: intro
{
   PRE_SCREEN_SCRIPT: pre_intro
   {
      CVP 70000 lp_speed
      BRA 2
      CSIV curve_flash curve_file
   }
   OVERLAY: o_intro
   {
      T: t_intro
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NS: limits
}

SCREEN_DUAL_PARAM: limits
{
   P: max_speed 99999
   VP: speed
   {
      T: t_speed
      MIN: 100
      MAX: 50
   }
   NS: save
   NSS: nss_save
   {
      SNS save
   }
}

INCLUDE screens.wdl
