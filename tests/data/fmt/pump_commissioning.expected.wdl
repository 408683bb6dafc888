#region Wizard Header Information

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 2.03
RUN_MODE: 1
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 4.10
FILE_NAME: "pump"

#endregion // Wizard Header Information

#region Wizard Text

T: yes_text "Yes"
T: no_text "No"
T: save_name "Save settings"
H: save_name "Yes stores the settings in the drive's memory.\nNo leaves them active until power-down."
T: welcome_title "Pump commissioning"
H: welcome_title "This wizard sets the drive up for your pump.\nPress OK to start, Cancel to leave."
T: pump_type_name "Pump type"
H: pump_type_name "Select the kind of pump the drive runs."
T: centrifugal "Centrifugal"
T: positive_disp "Positive displacement"
T: flow_name "Rated flow"
T: flow_unit "m3/h"
T: pressure_name "Setpoint pressure"
T: bar_unit "bar"
T: ramp_text "Ramp-up time to rated flow"
T: mode_text "Pump control mode"
T: inputs_text "Pump controller inputs"
T: pd_title "Positive displacement pump: check the relief valve before the first start."
T: done_title "Commissioning complete"
H: done_title "OK leaves the wizard, Back returns to the settings."
T: curve_flash "PUMPCURVE"
T: curve_file "files\pump_curve"
#endregion // Wizard Text

#region Choice List Filter

CLF: pump_modes "0,2,3"
#endregion // Choice List Filter

#region Array Filter

APF: pump_inputs "1,2,3,4"
#endregion // Array Filter

#region Local Parameters

LP: lp_kind = 0
LP: lp_centrifugal = 0
LP: lp_min_flow = 50
#endregion //Local Parameters

#region Scripts

SUBROUTINE: sr_limits
{
   BGE rated_flow lp_min_flow 1
   CPY lp_min_flow rated_flow
   LBL 1
   RET
}


#endregion //Scripts


#region Drive Param


#endregion //Drive Param


#region Choice Lists

#endregion //Choice List


#region Drive Screens

SCREEN_OVERLAY: welcome
{
   PRE_SCREEN_SCRIPT: pre_welcome
   {
      CVP 0 lp_kind
   }
   OVERLAY: o_welcome
   {
      T: welcome_title
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT_WIZARD
      BACK_ACTION: NO_ACTION
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
   NS: pump_type
}

SCREEN_SINGLE_PARAM: pump_type
{
   VCP: pump_kind
   {
      T: pump_type_name
      H: pump_type_name
      CL: pump_kinds
      {
         centrifugal*
         positive_disp
      }
      WS: ws_pump_kind
      {
         CPY pump_kind lp_kind
      }
   }
   NSS: choose_after_type
   {
      BEQ lp_kind lp_centrifugal 1
      SNS pd_warning
      BRA 2
      LBL 1
      SNS flow_screen
      LBL 2
   }
}

SCREEN_OVERLAY: pd_warning
{
   OVERLAY: o_pd
   {
      T: pd_title
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: NO_ACTION
      BACK_ACTION: GOTO_PREVIOUS_SCREEN
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
   NS: flow_screen
}

SCREEN_DUAL_PARAM: flow_screen
{
   VP: rated_flow
   {
      T: flow_name
      UT: flow_unit
      MIN: 0
      VAL: 1200
      MAX: 5000
      SCALE: -1
      WS: ws_flow
      {
         CALL sr_limits
      }
   }
   VP: setpoint
   {
      T: pressure_name
      UT: bar_unit
      MIN: 0
      VAL: 40
      MAX: 160
      SCALE: -1
   }
   NS: ramp_screen
}

SCREEN_SINGLE_PARAM: ramp_screen
{
   P: ramp_up 341
   {
      TO: ramp_text
   }
   PSS: pss_ramp
   {
      CPY ramp_up[1] ramp_up[2,3]
   }
   NS: mode_screen
}

SCREEN_DUAL_PARAM: mode_screen
{
   P: control_mode 100
   {
      TO: mode_text
      CLF: pump_modes
   }
   P: controller_inputs 510
   {
      TO: inputs_text
      APF: pump_inputs
   }
   NS: save_screen
}

SCREEN_SINGLE_PARAM: save_screen
{
   VCP: save_choice
   {
      T: save_name
      H: save_name
      CL: yes_no
      {
         yes_text*
         no_text
      }
   }
   NS: done
}

SCREEN_OVERLAY: done
{
   PRE_SCREEN_SCRIPT: pre_done
   {
      CSIV curve_flash curve_file
   }
   OVERLAY: o_done
   {
      T: done_title
      OK_ACTION: EXIT_WIZARD
      CANCEL_ACTION: NO_ACTION
      BACK_ACTION: GOTO_PREVIOUS_SCREEN
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
}


#endregion //Drive Screens

