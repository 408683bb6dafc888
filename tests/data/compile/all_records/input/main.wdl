# One of every record kind and every script operand layout, with a German
# translation and an embedded CSIV file: the image that wdltool dump is tested on.

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.2
RUN_MODE: 1
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 4.10
FILE_NAME: "dumped"

T: title "Dump test"
H: title "Line one\nLine two	with a tab"
T: choice_a "A"
T: choice_b "B (the default)"
T: speed_text "Speed"
T: unit "rpm"
T: flash "CURVE1"
T: curve "curve"

CLF: modes "0,2"
APF: inputs "1-3,9"

LP: lp_a = -1
LP: lp_b = 7

SUBROUTINE: sr_copy
{
   CPTA speed[1] speed[2,3] lp_a
   CPFA speed lp_a[ALL] lp_b
   RET
}

FIRST_SCREEN_SCRIPT: init
{
   CVP -5 lp_a
   BOE 1 2
   SQB 1 -2 3
   SEA 4
}

SCREEN_OVERLAY: start
{
   OVERLAY: o_start
   {
      T: title
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT_WIZARD
   }
   NS: pick
}

SCREEN_SINGLE_PARAM: pick
{
   PRE_SCREEN_SCRIPT: pre_pick
   {
      SETUP lp_b
      CSIV flash curve
   }
   VCP: choice
   {
      T: title
      CL: ab
      {
         choice_a
         choice_b*
      }
      WS: ws_choice
      {
         CPY choice[1] lp_b[ALL]
         ENABLE_CHOICE modes choice
      }
   }
   NSS: nss_pick
   {
      BEQ choice lp_b 1
      SNS values
      BRA 2
      LBL 1
      SNS last
      LBL 2
   }
}

SCREEN_DUAL_PARAM: values
{
   P: speed 120
   {
      TO: speed_text
      CLF: modes
      APF: inputs
   }
   VP: ratio
   {
      T: speed_text
      UT: unit
      MIN: -10
      MAX: 100
      VAL: 5
      SCALE: -1
   }
   PSS: pss_values
   {
      CALL sr_copy
      ADD ratio speed lp_a
   }
   NS: last
}

SCREEN_SINGLE_PARAM: last
{
   P: plain 200
   {
      TO: unit
   }
}
